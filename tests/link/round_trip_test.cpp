#include "link_test_support.h"

namespace zq70::test {
namespace {

// Random images written through the keyboard line and read back: every byte the write
// sends comes back equal, and the read fetches every one of them.
TEST(KeyboardRoundTrip, RandomImages) {
    std::mt19937 random(70);
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE(round);
        const DeviceImage image = random_image(random);
        KeyboardRig writer;
        ASSERT_EQ(writer.write(image), Ok);

        KeyboardRig reader;
        reader.device.memory = writer.device.memory;
        DeviceImage back;
        for (int i = 0; i < kImageSize; ++i)
            back[i] = static_cast<uint8_t>(~image[i]);
        ASSERT_EQ(reader.read(back), Ok);
        const int length = used_length(image);
        for (int j = 0; j < length; ++j) {
            const int o = (j + kHeaderOffset) % kImageSize;
            ASSERT_EQ(back[o], image[o]) << "offset " << o;
        }
        // The read stops right after what the write sent: at most the length byte after
        // the last record.
        EXPECT_LE(reader.bytes_requested(), length + 1);
        EXPECT_GE(reader.bytes_requested(), length);
    }
}

} // namespace
} // namespace zq70::test
