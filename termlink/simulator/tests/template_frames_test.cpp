#include "template_frames.h"

#include <gtest/gtest.h>

namespace termsim {
namespace {

std::string bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s += static_cast<char>(v);
  return s;
}

TEST(TemplateFrames, FramesEscapesAndSums) {
  // Two data bytes, C0 and DB: one per frame, each escaped; checksums 02+01+C0 and 08+01+DB.
  const std::string frames = frameTemplate(bytes({0xC0, 0xDB}));
  EXPECT_EQ(frames, bytes({0xC0, 0x02, 0, 0, 0, 0, 0, 0x01, 0xDB, 0xDC, 0x00, 0xC3, 0xC0,
                           0xC0, 0x08, 0, 0, 0, 0, 0, 0x01, 0xDB, 0xDD, 0x00, 0xE4, 0xC0}));
  std::size_t used = 0;
  EXPECT_EQ(unframeTemplate(frames + "tail", &used), bytes({0xC0, 0xDB}));
  EXPECT_EQ(used, frames.size());
  EXPECT_EQ(framePairLength(frames + "tail"), frames.size());
  EXPECT_EQ(framePairLength(frames.substr(0, frames.size() - 1)), 0u);
}

TEST(TemplateFrames, SplitsRawDataInHalves) {
  const std::string raw(338, '\x11');
  const std::string frames = frameTemplate(raw);
  EXPECT_EQ(static_cast<unsigned char>(frames[7]), 0xA9);  // 169 bytes in the first frame
  EXPECT_EQ(static_cast<unsigned char>(frames[7 + 1 + 169 + 2 + 1 + 7]), 0xA9);
  EXPECT_EQ(unframeTemplate(frames), raw);
}

TEST(TemplateFrames, RefusesDamagedFrames) {
  const std::string good = frameTemplate(std::string(256, '\x5A'));
  std::string badChecksum = good;
  badChecksum[good.size() - 2] ^= 1;
  std::string badEscape = good;
  badEscape[10] = static_cast<char>(0xDB);  // DB followed by an ordinary byte
  std::string wrongType = good;
  wrongType[1] = 0x08;
  for (const std::string& s : {badChecksum, badEscape, wrongType, good.substr(0, good.size() - 1),
                               frameTemplate(std::string(256, '\x5A'), 1)})
    EXPECT_FALSE(unframeTemplate(s));
}

}  // namespace
}  // namespace termsim
