#include "media/midi_length.h"

#include <gtest/gtest.h>

#include "sound_midi.h"

namespace kiv {
namespace {

using namespace midi;

TEST(MidiLength, FormatZeroFollowsTempoChangesThroughRunningStatusSysexAndMeta) {
    std::string track = Bytes({0}) + Bytes({0xFF, 0x03, 4}) + "Tune"  // track name
                        + Tempo(0, 500000)                            // 120 a minute
                        + Event(0, {0xC0, 5})                         // program change: one data byte
                        + Event(0, {0x90, 60, 100})                   // note on
                        + Event(240, {62, 100})                       // running status
                        + Event(0, {0xF0, 3, 0x7E, 0x7F, 0xF7})       // sysex
                        + Event(240, {64, 100})                       // running status survives it
                        + Event(480, {0xF7, 1, 0xF7})                 // escaped sysex
                        + Tempo(0, 250000)                            // twice as fast from tick 960
                        + Event(960, {0x80, 60, 0}) + EndOfTrack(0) +
                        Event(9999, {0x90, 70, 1});  // after the end of the track: not played
    // 960 ticks at 500000 us a quarter of 480 ticks = 1000 ms, then 960 at 250000 = 500 ms.
    EXPECT_EQ(MidiLengthMs(File(0, 480, {track})), 1500);

    // Without a tempo event the tune runs at 120 a minute; a track without its end event ends
    // with its chunk.
    EXPECT_EQ(MidiLengthMs(File(0, 96, {Event(0, {0x90, 60, 1}) + Event(192, {0x80, 60, 0})})), 1000);
    // A tempo change after the last event does not count.
    EXPECT_EQ(MidiLengthMs(File(0, 96, {Event(96, {0xB0, 7, 100}) + Tempo(0, 100000) + EndOfTrack(0)})), 500);
    EXPECT_EQ(MidiLengthMs(File(0, 480, {EndOfTrack(0)})), 0);
}

TEST(MidiLength, FormatOneSharesTheTempoMapAndEndsWithTheLongestTrack) {
    const std::string tempoTrack = Tempo(0, 500000) + Tempo(480, 1000000) + EndOfTrack(0);
    const std::string shortTrack = Event(0, {0x91, 60, 90}) + Event(960, {0x81, 60, 0}) + EndOfTrack(0);
    const std::string longTrack = Event(100, {0x92, 64, 90}) + Event(1340, {0x82, 64, 0}) + EndOfTrack(0);
    // Ticks 0..480 at 500000 = 500 ms, 480..1440 at 1000000 = 2000 ms.
    EXPECT_EQ(MidiLengthMs(File(1, 480, {tempoTrack, shortTrack, longTrack})), 2500);
    EXPECT_EQ(MidiLengthMs(File(1, 480, {tempoTrack, shortTrack})), 1500);

    // A tempo change in a later track applies to all of them, and an unknown chunk is skipped.
    std::string file = File(1, 480, {shortTrack, Tempo(480, 1000000) + EndOfTrack(0)});
    file.insert(14, Chunk("XFIH", "vendor data"));
    EXPECT_EQ(MidiLengthMs(file), 1500);

    // Format 2: independent sequences one after the other, each with its own tempo.
    EXPECT_EQ(MidiLengthMs(File(2, 480, {Tempo(0, 1000000) + EndOfTrack(480), EndOfTrack(480)})), 1500);
}

TEST(MidiLength, TimeCodeDivisionCountsTicksPerFrame) {
    // 25 frames a second, 40 ticks a frame: one tick is a millisecond, whatever the tempo.
    const int division = (0x100 - 25) << 8 | 40;
    EXPECT_EQ(MidiLengthMs(File(0, division, {Tempo(0, 100000) + EndOfTrack(1234)})), 1234);
    // 29 stands for 29.97 frames a second.
    const int ntsc = (0x100 - 29) << 8 | 100;
    EXPECT_EQ(MidiLengthMs(File(0, ntsc, {EndOfTrack(2997)})), 1000);
}

TEST(MidiLength, DamagedFilesHaveNoLength) {
    const std::string good =
        File(1, 480,
             {Tempo(0, 600000) + EndOfTrack(0), Event(0, {0x90, 60, 100}) + Event(480, {62, 100}) + EndOfTrack(480)});
    ASSERT_EQ(MidiLengthMs(good), 1200);
    // Cut anywhere, the file is recognised as damaged.
    for (size_t n = 0; n < good.size(); ++n) EXPECT_EQ(MidiLengthMs(good.substr(0, n)), -1) << "cut at " << n;

    EXPECT_EQ(MidiLengthMs("RIFF----WAVEfmt "), -1);
    EXPECT_EQ(MidiLengthMs(Chunk("MThd", Big(0, 2) + Big(1, 2) + Big(0, 2)) + Chunk("MTrk", EndOfTrack(0))), -1)
        << "division 0";
    EXPECT_EQ(MidiLengthMs(Chunk("MThd", Big(3, 2) + Big(1, 2) + Big(96, 2)) + Chunk("MTrk", EndOfTrack(0))), -1)
        << "format 3";
    EXPECT_EQ(MidiLengthMs(Chunk("MThd", Big(0, 4)) + Chunk("MTrk", EndOfTrack(0))), -1) << "short header";
    EXPECT_EQ(MidiLengthMs(File(0, 96, {Event(0, {60, 100}) + EndOfTrack(0)})), -1) << "data without a status";
    EXPECT_EQ(MidiLengthMs(File(0, 96, {Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x90, 60, 1})})), -1)
        << "five-byte delta time";
    EXPECT_EQ(MidiLengthMs(File(0, 96, {Event(0, {0xF8}) + EndOfTrack(0)})), -1) << "real-time byte";
    EXPECT_EQ(MidiLengthMs(File(0, 96, {Event(0, {0xFF, 0x01, 0x7F}) + "abc"})), -1) << "meta past its chunk";
    EXPECT_EQ(MidiLengthMs(File(0, 96, {Event(0, {0xF0, 0x8F, 0xFF, 0xFF, 0x7F})})), -1) << "huge sysex";

    // The longest possible delta times add up without overflow.
    std::string slow = Tempo(0, 0xFFFFFF);
    for (int i = 0; i < 1000; ++i) slow += Event(0x0FFFFFFF, {0xB0, 1, 1});
    EXPECT_GT(MidiLengthMs(File(0, 1, {slow})), 0);
}

TEST(MidiLength, TrailingBytesAfterTheLastTrackDoNotHideTheLength) {
    using namespace midi;
    // One track of a quarter note at 120 beats a minute, then bytes a saving program left.
    const std::string file = File(0, 480, {Event(0, {0x90, 60, 100}) + Event(480, {0x80, 60, 0}) + EndOfTrack(0)});
    EXPECT_EQ(MidiLengthMs(file), 500);
    EXPECT_EQ(MidiLengthMs(file + "MTrk\xFF\xFF\xFF\xFFgarbage"), 500);
    EXPECT_EQ(MidiLengthMs(file + std::string(3, '\0')), 500);
}

}  // namespace
}  // namespace kiv
