#include "anim/key_track.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "assets/asset_buffer.h"

namespace {

void readInto(KeyTrack& track, const std::string& text) {
  AssetBuffer buffer;
  ASSERT_TRUE(buffer.openFromMemory(reinterpret_cast<const std::uint8_t*>(text.data()),
                                    static_cast<std::uint32_t>(text.size())));
  track.read(buffer);
}

std::string key(float time, const std::string& position, const std::string& extra = "") {
  return "keyframe\ntime " + std::to_string(time) + "\nposition V(" + position + ")\n" +
         "quaternion Q(0 0 0 1)\n" + extra + "end\n";
}

Vec3 positionAt(const KeyTrack& track, float t) {
  KeySegment segment;
  EXPECT_TRUE(track.findSegment(t, segment)) << "no segment at " << t;
  return KeyTrack::sample(segment, t).position;
}

void expectNear(Vec3 a, Vec3 b, float tolerance = 1e-4f) {
  EXPECT_NEAR(a.x, b.x, tolerance);
  EXPECT_NEAR(a.y, b.y, tolerance);
  EXPECT_NEAR(a.z, b.z, tolerance);
}

Vec3 viewOf(const Quat& q) {
  const Matrix4 m = toMatrix(q);
  return Vec3(m[0], m[4], m[8]);
}

}  // namespace

TEST(KeyTrackPath, TwoKeysGiveAStraightLineAtConstantSpeed) {
  KeyTrack track;
  readInto(track, key(0, "0 0 0") + key(10, "10 -20 30") + "ENDKEYS\n");
  ASSERT_TRUE(track.prepare());
  for (float t : {0.0f, 2.5f, 5.0f, 7.5f, 9.99f}) {
    expectNear(positionAt(track, t), Vec3(t, -2 * t, 3 * t), 2e-3f);
  }
}

TEST(KeyTrackPath, CollinearKeysArePassedExactlyWithTheSpacingAsGradient) {
  KeyTrack track;
  readInto(track, key(0, "0 0 0") + key(1, "5 5 0") + key(2, "10 10 0") + "ENDKEYS\n");
  ASSERT_TRUE(track.prepare());
  expectNear(track.key(1).gradient, Vec3(5, 5, 0));
  expectNear(positionAt(track, 0), Vec3(0, 0, 0));
  expectNear(positionAt(track, 1), Vec3(5, 5, 0));
  expectNear(positionAt(track, 1.5f), Vec3(7.5f, 7.5f, 0));
}

TEST(KeyTrackPath, SegmentsStartAtTheirKeyAndTheLastKeyEndsTheTrack) {
  KeyTrack track;
  readInto(track, key(0, "0 0 0") + key(2, "1 0 0") + key(5, "2 0 0") + "ENDKEYS\n");
  ASSERT_TRUE(track.prepare());
  KeySegment segment;
  ASSERT_TRUE(track.findSegment(2, segment));
  EXPECT_EQ(segment.first, &track.key(1));
  EXPECT_EQ(segment.second, &track.key(2));
  EXPECT_FALSE(track.findSegment(5, segment));
  EXPECT_FALSE(track.findSegment(7, segment));
  EXPECT_FALSE(track.findSegment(-0.5f, segment));
  ASSERT_TRUE(track.firstSegment(segment));
  EXPECT_EQ(segment.first, &track.key(0));
}

TEST(KeyTrackPath, AFreezeKeyHoldsPositionAndLeavesTheOrientationAlone) {
  KeyTrack track;
  readInto(track, key(0, "0 0 0") + key(1, "4 0 0", "freeze\n") + key(3, "8 0 0") + "ENDKEYS\n");
  ASSERT_TRUE(track.prepare());
  KeySegment segment;
  for (float t : {1.0f, 1.7f, 2.99f}) {
    ASSERT_TRUE(track.findSegment(t, segment));
    const KeySample s = KeyTrack::sample(segment, t);
    expectNear(s.position, Vec3(4, 0, 0));
    EXPECT_FALSE(s.rotationValid);
  }
  // After the frozen segment the camera moves on.
  EXPECT_GT(positionAt(track, 3.0f - 1e-3f).x, 0.0f);
}

TEST(KeyTrackPath, OrientationPassesEveryKeyAndTurnsWithoutJumps) {
  // Quarter turns about z between keys.
  const float h = std::sqrt(0.5f);
  KeyTrack track;
  readInto(track,
           "keyframe\ntime 0\nquaternion Q(0 0 0 1)\nend\n"
           "keyframe\ntime 1\nquaternion Q(0 0 " + std::to_string(h) + " " + std::to_string(h) +
               ")\nend\n"
               "keyframe\ntime 2\nquaternion Q(0 0 1 0)\nend\nENDKEYS\n");
  ASSERT_TRUE(track.prepare());
  KeySegment segment;
  ASSERT_TRUE(track.findSegment(1, segment));
  expectNear(viewOf(KeyTrack::sample(segment, 1).rotation), Vec3(0, 1, 0), 1e-4f);
  Vec3 previous = Vec3(1, 0, 0);
  for (float t = 0.01f; t < 2; t += 0.01f) {
    ASSERT_TRUE(track.findSegment(t, segment));
    const Vec3 view = viewOf(KeyTrack::sample(segment, t).rotation);
    EXPECT_GT(dot(view, previous), std::cos(0.05f)) << "jump at " << t;
    previous = view;
  }
}

TEST(KeyTrackText, EmptyTrackHasNoSegments) {
  KeyTrack track;
  readInto(track, "# nothing here\nENDKEYS\n");
  EXPECT_TRUE(track.empty());
  EXPECT_FALSE(track.prepare());
  KeySegment segment;
  EXPECT_FALSE(track.findSegment(0, segment));
  EXPECT_FALSE(track.firstSegment(segment));
}

TEST(KeyTrackText, CommentsAreIgnoredAndOnlySpacesMayIndentAKeyword) {
  KeyTrack track;
  readInto(track,
           "camera path, written by hand\n"
           "   keyframe\n  time 0\n    position V(1 2 3)\n\tposition V(9 9 9)\nnote: x\nend\n"
           "between keys\n\tkeyframe\n"
           "keyframe\ntime 4\nposition V( 1.5  -2  30 )\nend\nENDKEYS\n"
           "keyframe\ntime 8\nend\n");
  ASSERT_EQ(track.size(), 2u);
  expectNear(track.key(0).position, Vec3(1, 2, 3));
  expectNear(track.key(1).position, Vec3(1.5f, -2, 30));
}

TEST(KeyTrackText, AnyLineBeginningWithEndClosesAKey) {
  KeyTrack track;
  readInto(track, "keyframe\ntime 0\nendpoint\nposition V(5 5 5)\nkeyframe\ntime 1\nend\n");
  ASSERT_EQ(track.size(), 2u);
  expectNear(track.key(0).position, Vec3(0, 0, 0));
  EXPECT_EQ(track.key(1).time, 1.0f);
}

TEST(KeyTrackText, AMissingEndMergesKeysAndTheLaterValuesWin) {
  KeyTrack track;
  readInto(track,
           "keyframe\ntime 0\nposition V(1 1 1)\nfreeze\n"
           "keyframe\ntime 3\nposition V(2 2 2)\nend\n"
           "ENDKEYS\n");
  ASSERT_EQ(track.size(), 1u);
  EXPECT_EQ(track.key(0).time, 3.0f);
  expectNear(track.key(0).position, Vec3(2, 2, 2));
  EXPECT_TRUE(track.key(0).freeze);
}

TEST(KeyTrackText, CarriageReturnsAnywhereAreDropped) {
  for (const char* ending : {"\r\n", "\n\r"}) {
    std::string text;
    for (const char* line : {"keyframe", "time 0", "position V(1 2 3)", "end", "keyframe",
                             "time 2", "quaternion Q(0 0 0 1)", "end", "ENDKEYS"}) {
      text += std::string(line) + ending;
    }
    KeyTrack track;
    readInto(track, text);
    ASSERT_EQ(track.size(), 2u) << "line end " << (ending[0] == '\r' ? "CR LF" : "LF CR");
    expectNear(track.key(0).position, Vec3(1, 2, 3));
    EXPECT_EQ(track.key(1).rotation.w, 1.0f);
    EXPECT_TRUE(track.prepare());
  }
}

TEST(KeyTrackText, NumbersThatDoNotParseKeepTheFieldsValue) {
  KeyTrack track;
  readInto(track,
           "keyframe\ntime 0\nposition V(1 2 3)\nposition V(7 x 9)\nposition V(nan 5 inf)\n"
           "quaternion Q(0 0 0 1)\nquaternion Q(zero)\ntime soon\nend\nENDKEYS\n");
  ASSERT_EQ(track.size(), 1u);
  // 7 parsed before the bad number; 5 parsed, the NaN and infinity did not take.
  expectNear(track.key(0).position, Vec3(7, 5, 3));
  EXPECT_EQ(track.key(0).rotation.w, 1.0f);
  EXPECT_EQ(track.key(0).time, 0.0f);
}

TEST(KeyTrackText, DataEndingInsideAKeyDropsThatKeyOnly) {
  KeyTrack track;
  readInto(track, key(0, "0 0 0") + key(1, "1 0 0") + "keyframe\ntime 2\nposition V(9 9 9)");
  EXPECT_EQ(track.size(), 2u);
  EXPECT_TRUE(track.prepare());

  KeyTrack unterminated;  // no ENDKEYS and no final line feed: the last key still counts
  readInto(unterminated, key(0, "0 0 0") + "keyframe\ntime 1\nend");
  EXPECT_EQ(unterminated.size(), 2u);
}

TEST(KeyTrackText, OverlongLinesKeepTheirFirstCharacters) {
  KeyTrack track;
  // The tail past 127 characters must not come back as a line of its own.
  readInto(track, "keyframe\ntime 0\nposition V(4 5 6)" + std::string(300, ' ') +
                      "position V(7 7 7)\nend\nENDKEYS\n");
  ASSERT_EQ(track.size(), 1u);
  expectNear(track.key(0).position, Vec3(4, 5, 6));
}

TEST(KeyTrackText, ReadAppendsAndClearEmpties) {
  KeyTrack track;
  readInto(track, key(0, "0 0 0") + "ENDKEYS\n");
  readInto(track, key(1, "1 0 0") + "ENDKEYS\n");
  EXPECT_EQ(track.size(), 2u);
  track.clear();
  EXPECT_TRUE(track.empty());
}

TEST(KeyTrackValidity, TracksThatCannotBeSampledAreRefusedAndEmptied) {
  const std::string cases[] = {
      key(0, "0 0 0") + "ENDKEYS\n",                                // a single key
      key(1, "0 0 0") + key(2, "1 0 0") + "ENDKEYS\n",              // first time not 0
      key(0, "0 0 0") + key(2, "1 0 0") + key(2, "2 0 0") + "ENDKEYS\n",  // equal times
      key(0, "0 0 0") + key(3, "1 0 0") + key(1, "2 0 0") + "ENDKEYS\n",  // decreasing
      key(0, "0 0 0") + "keyframe\nposition V(1 0 0)\nend\nENDKEYS\n",    // no time line
  };
  for (const std::string& text : cases) {
    KeyTrack track;
    readInto(track, text);
    EXPECT_FALSE(track.prepare()) << text;
    EXPECT_TRUE(track.empty());
    KeySegment segment;
    EXPECT_FALSE(track.findSegment(0.5f, segment));
    EXPECT_FALSE(track.firstSegment(segment));
  }
}
