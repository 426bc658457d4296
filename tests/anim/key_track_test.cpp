#include "anim/key_track.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
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
           "keyframe\ntime 1\nquaternion Q(0 0 " +
               std::to_string(h) + " " + std::to_string(h) +
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

// The keys read from `text`, each as "time@x,y,z/w", with "!" for a freeze key.
std::string keysOf(const std::string& text) {
  KeyTrack track;
  readInto(track, text);
  std::string out;
  char one[128];
  for (std::size_t i = 0; i < track.size(); ++i) {
    const KeyFrame& k = track.key(i);
    std::snprintf(one, sizeof one, "%s%g@%g,%g,%g/%g%s", i ? "; " : "", k.time, k.position.x,
                  k.position.y, k.position.z, k.rotation.w, k.freeze ? "!" : "");
    out += one;
  }
  return out;
}

TEST(KeyTrackText, LinesAreReadAsTheScriptsAreWritten) {
  const std::string crlf =
      "keyframe\r\ntime 0\r\nposition V(1 2 3)\r\nend\r\nkeyframe\r\ntime 2\r\n"
      "quaternion Q(0 0 0 1)\r\nend\r\nENDKEYS\r\n";
  std::string lfcr = crlf;
  for (std::size_t at = 0; (at = lfcr.find("\r\n", at)) != std::string::npos; at += 2)
    lfcr.replace(at, 2, "\n\r");
  const struct {
    const char* what;
    std::string text;
    const char* keys;
  } cases[] = {
      {"comments are ignored, only spaces may indent a keyword, nothing after ENDKEYS counts",
       "camera path, written by hand\n"
       "   keyframe\n  time 0\n    position V(1 2 3)\n\tposition V(9 9 9)\nnote: x\nend\n"
       "between keys\n\tkeyframe\n"
       "keyframe\ntime 4\nposition V( 1.5  -2  30 )\nend\nENDKEYS\nkeyframe\ntime 8\nend\n",
       "0@1,2,3/0; 4@1.5,-2,30/0"},
      {"any line beginning with end closes a key",
       "keyframe\ntime 0\nendpoint\nposition V(5 5 5)\nkeyframe\ntime 1\nend\n",
       "0@0,0,0/0; 1@0,0,0/0"},
      {"a missing end merges keys and the later values win",
       "keyframe\ntime 0\nposition V(1 1 1)\nfreeze\nkeyframe\ntime 3\nposition V(2 2 "
       "2)\nend\nENDKEYS\n",
       "3@2,2,2/0!"},
      {"CR LF line ends", crlf, "0@1,2,3/0; 2@0,0,0/1"},
      {"LF CR line ends", lfcr, "0@1,2,3/0; 2@0,0,0/1"},
      {"numbers that do not parse keep the field's value (7 and 5 parse, NaN and infinity do not)",
       "keyframe\ntime 0\nposition V(1 2 3)\nposition V(7 x 9)\nposition V(nan 5 inf)\n"
       "quaternion Q(0 0 0 1)\nquaternion Q(zero)\ntime soon\nend\nENDKEYS\n",
       "0@7,5,3/1"},
      {"data ending inside a key drops that key only",
       key(0, "0 0 0") + key(1, "1 0 0") + "keyframe\ntime 2\nposition V(9 9 9)",
       "0@0,0,0/1; 1@1,0,0/1"},
      {"without ENDKEYS and a final line feed the last key still counts",
       key(0, "0 0 0") + "keyframe\ntime 1\nend", "0@0,0,0/1; 1@0,0,0/0"},
      {"the tail of an overlong line does not come back as a line of its own",
       "keyframe\ntime 0\nposition V(4 5 6)" + std::string(300, ' ') +
           "position V(7 7 7)\nend\nENDKEYS\n",
       "0@4,5,6/0"},
  };
  for (const auto& c : cases) EXPECT_EQ(keysOf(c.text), c.keys) << c.what;
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
      key(0, "0 0 0") + "ENDKEYS\n",                                      // a single key
      key(1, "0 0 0") + key(2, "1 0 0") + "ENDKEYS\n",                    // first time not 0
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

TEST(KeyTrackValidity, TracksOverTheKeyCapAreRefused) {
  for (std::size_t count : {KeyTrack::maxKeys, KeyTrack::maxKeys + 1}) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
      text += "keyframe\ntime " + std::to_string(i) + "\nend\n";
    KeyTrack track;
    readInto(track, text + "ENDKEYS\n");
    EXPECT_EQ(track.size(), count == KeyTrack::maxKeys ? count : 0u);
    EXPECT_EQ(track.prepare(), count == KeyTrack::maxKeys);
  }
}
