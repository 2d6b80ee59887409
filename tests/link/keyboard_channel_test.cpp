#include "link/nibble_keys.h"
#include "link_test_support.h"

namespace zq70::test {
namespace {

ThreadMessage key_message(uint32_t id, int vk) {
    ThreadMessage message;
    message.id = id;
    message.wparam = static_cast<uintptr_t>(vk);
    return message;
}

TEST(WaitKey, PairRules) {
    KeyboardRig rig;
    rig.keyboard.type_key(kVkControl);
    EXPECT_EQ(rig.channel.wait_key(500), kVkControl);

    // Key-down A, key-up B, key-up A: the stray release is dropped.
    rig.keyboard.post(key_message(kMsgKeyDown, 'A'));
    rig.keyboard.post(key_message(kMsgKeyUp, 'B'));
    rig.keyboard.post(key_message(kMsgKeyUp, 'A'));
    EXPECT_EQ(rig.channel.wait_key(500), 'A');

    // A release with no press before it is dropped and the wait goes on.
    rig.keyboard.post(key_message(kMsgKeyUp, 'C'));
    rig.keyboard.type_key('D', 20);
    EXPECT_EQ(rig.channel.wait_key(500), 'D');
    EXPECT_EQ(rig.keyboard.queued(), 0u);
}

TEST(WaitKey, SecondKeyDownFailsAtOnce) {
    KeyboardRig rig;
    for (int vk : {'A', 'A'})
        rig.keyboard.post(key_message(kMsgKeyDown, vk));
    const uint32_t start = rig.clock.now();
    EXPECT_EQ(rig.channel.wait_key(500), kNoKey);
    EXPECT_EQ(rig.clock.now(), start) << "an auto-repeat must not wait for the time-out";

    rig.keyboard.post(key_message(kMsgKeyDown, 'A'));
    rig.keyboard.post(key_message(kMsgKeyDown, 'B'));
    EXPECT_EQ(rig.channel.wait_key(500), kNoKey);
}

// Another program may post key messages with any code, also one that reads as -1, the
// code of "no key": such a key is a key like the others. Its release alone is dropped,
// and its press is a key that is down.
TEST(WaitKey, AKeyCodedLikeNoKeyIsStillAKey) {
    KeyboardRig rig;
    ThreadMessage odd_release;
    odd_release.id = kMsgKeyUp;
    odd_release.wparam = ~uintptr_t{0};
    rig.keyboard.post(odd_release);
    rig.keyboard.type_key('D', 20);
    EXPECT_EQ(rig.channel.wait_key(500), 'D');

    ThreadMessage odd_press = odd_release;
    odd_press.id = kMsgKeyDown;
    rig.keyboard.post(odd_press);
    rig.keyboard.type_key(kVkControl);
    EXPECT_EQ(rig.channel.wait_key(500), kNoKey) << "a second key went down before a release";
}

TEST(WaitKey, TimeOutLeavesALaterKeyForTheNextWait) {
    KeyboardRig rig;
    rig.keyboard.type_key('7', 500);
    const uint32_t start = rig.clock.now();
    EXPECT_EQ(rig.channel.wait_key(500), kNoKey);
    EXPECT_EQ(rig.clock.now() - start, 500u);
    // Due exactly at the time-out: the time-out is tested before the take.
    EXPECT_EQ(rig.keyboard.queued(), 2u);
    EXPECT_EQ(rig.channel.wait_key(500), '7');
}

TEST(WaitKey, TimeOutAcrossTheTickCounterWrap) {
    for (uint32_t start : {0xFFFFFF00u, 0xFFFFFFFFu, 0u}) {
        KeyboardRig rig(start);
        EXPECT_EQ(rig.channel.wait_key(500), kNoKey);
        EXPECT_EQ(rig.clock.now() - start, 500u) << start;
        rig.keyboard.type_key('1', 300);
        EXPECT_EQ(rig.channel.wait_key(500), '1');
    }
}

TEST(WaitKey, OtherMessagesAreDispatchedAndKeysAreNot) {
    KeyboardRig rig;
    ThreadMessage paint;
    paint.id = kMsgPaint;
    ThreadMessage system_key = key_message(kMsgSysKeyDown, kVkControl);
    rig.keyboard.post(paint);
    rig.keyboard.post(system_key, 5);
    rig.keyboard.post(key_message(kMsgKeyUp, 'X'), 6);
    rig.keyboard.type_key('Y', 10);
    EXPECT_EQ(rig.channel.wait_key(500), 'Y');
    ASSERT_EQ(rig.keyboard.dispatched().size(), 2u);
    EXPECT_EQ(rig.keyboard.dispatched()[0].id, kMsgPaint);
    EXPECT_EQ(rig.keyboard.dispatched()[1].id, kMsgSysKeyDown);
}

TEST(WakeUp, SendsTheSixDelaysWithPausesAndNeedsCtrl) {
    KeyboardRig rig;
    const uint32_t start = rig.clock.now();
    EXPECT_TRUE(rig.channel.wake_up());
    EXPECT_EQ(rig.values(TypematicSignal::Delay), (std::vector<int>{1, 0, 2, 0, 0, 1}));
    const auto& signals = rig.keyboard.signals();
    for (size_t i = 0; i < signals.size(); ++i)
        EXPECT_EQ(signals[i].time - start, 150u * i) << "signal " << i;
    EXPECT_TRUE(rig.values(TypematicSignal::Speed).empty());
}

TEST(WakeUp, FailsOnAnythingButCtrl) {
    for (int answer : {kVkShift, static_cast<int>('0'), -1}) {
        KeyboardRig rig;
        rig.device.faults.push_back({DevicePhase::WakeUp, 0, FaultKind::WrongAnswer, answer});
        const uint32_t start = rig.clock.now();
        EXPECT_FALSE(rig.channel.wake_up()) << answer;
        if (answer == -1) {
            EXPECT_EQ(rig.clock.now() - start, 5u * 150 + 500);
        }
    }
    KeyboardRig late;
    late.device.faults.push_back({DevicePhase::WakeUp, 0, FaultKind::Late, 501});
    EXPECT_FALSE(late.channel.wake_up());
}

TEST(Restore, ReadAndWriteSequences) {
    KeyboardRig rig;
    const TypematicSettings saved = rig.channel.save_typematic();
    EXPECT_EQ(saved.delay, kUserSettings.delay);
    EXPECT_EQ(saved.speed, kUserSettings.speed);
    const uint32_t start = rig.clock.now();
    rig.channel.restore_after_read({3, 9});
    rig.channel.restore_after_write({3, 9});
    using S = TypematicSignal;
    EXPECT_EQ(rig.keyboard.signals(), (std::vector<S>{{S::Delay, 3, 0},
                                                      {S::Delay, 3, 0},
                                                      {S::Delay, 3, 0},
                                                      {S::Speed, 9, 0},
                                                      {S::Delay, 3, 0}}));
    EXPECT_EQ(rig.keyboard.signals()[1].time - start, 150u);
    EXPECT_EQ(rig.keyboard.signals()[3].time - start, 300u);
}

TEST(NibbleKeys, WorkedExamples) {
    EXPECT_EQ(key_of_value(first_key_value(0x12)), '1');
    EXPECT_EQ(key_of_value(second_key_value(0x12)), '2');
    EXPECT_EQ(key_of_value(first_key_value(0x00)), 'G');
    EXPECT_EQ(key_of_value(second_key_value(0x00)), 'G');
    EXPECT_EQ(key_of_value(first_key_value(0xFF)), 'V');
    EXPECT_EQ(key_of_value(second_key_value(0xFF)), 'V');
    EXPECT_EQ(key_value_of('9'), 9);
    EXPECT_EQ(key_value_of('A'), 10);
    EXPECT_EQ(key_value_of('V'), 31);
    for (int vk : {int{'W'}, int{'/'}, int{':'}, int{'@'}, kVkControl, kVkShift, -1})
        EXPECT_EQ(key_value_of(vk), -1);
    EXPECT_EQ(nibble_answer(0), kVkControl);
    EXPECT_EQ(nibble_answer(15), kVkControl);
    EXPECT_EQ(nibble_answer(1), kVkShift);
    EXPECT_EQ(nibble_answer(7), kVkShift);
}

} // namespace
} // namespace zq70::test
