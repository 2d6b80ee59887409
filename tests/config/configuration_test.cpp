#include "config/configuration.h"

#include <gtest/gtest.h>

namespace zq70 {
namespace {

TEST(Configuration, ResetGivesDefaults) {
    Configuration config{};
    reset_configuration(config);
    EXPECT_EQ(config.rows, 12);
}

} // namespace
} // namespace zq70
