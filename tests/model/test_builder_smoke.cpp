#include <gtest/gtest.h>

#include "SmfBuilder.h"

TEST(SmfBuilder, BuildsHeaderAndTrackChunk) {
    lvtest::TSmfBuilder smf(0, 96);
    smf.AddTrack().NoteOn(0, 0, 60, 100).EndOfTrack(96);
    const auto bytes = smf.Build();
    ASSERT_EQ(bytes.size(), 14u + 8u + 8u);
    EXPECT_EQ(bytes[9], 0);   // format 0
    EXPECT_EQ(bytes[11], 1);  // one track
    EXPECT_EQ(bytes[13], 96);
    EXPECT_EQ(bytes[21], 8);  // chunk length
}
