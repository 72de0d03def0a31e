#include "platform/audio/wave_file.h"

#include <gtest/gtest.h>

#include "platform/audio/pcm.h"
#include "tests/platform/audio/wave_bytes.h"

namespace {

using namespace audio_test;

TEST(WaveFile, ReadsFormatAndDataSkippingOtherChunks) {
  auto path = writeTemp("list.wav", riffWave({chunk("LIST", {1, 2, 3}), fmtChunk(2, 22050, 16),
                                              chunk("fact", {0, 0, 0, 0}), chunk("data", pcm16({100, -100, 7, -7}))}));
  audio::WaveFile w = audio::readWaveFile(path);
  EXPECT_EQ(w.format.formatTag, 1);
  EXPECT_EQ(w.format.channels, 2);
  EXPECT_EQ(w.format.samplesPerSec, 22050u);
  EXPECT_EQ(w.format.bitsPerSample, 16);
  EXPECT_EQ(w.data, pcm16({100, -100, 7, -7}));
}

TEST(WaveFile, OversizeFormatChunkIsReadInPartAndSkipped) {
  auto path = writeTemp("big.wav", riffWave({fmtChunk(1, 8000, 8, 41), chunk("data", {128, 255, 0})}));
  audio::WaveFile w = audio::readWaveFile(path);
  EXPECT_EQ(w.format.samplesPerSec, 8000u);
  EXPECT_EQ(w.data, (std::vector<uint8_t>{128, 255, 0}));
}

TEST(WaveFile, DataCutShortByTheFileEndKeepsWhatIsThere) {
  auto bytes = riffWave({fmtChunk(1, 8000, 16), chunk("data", pcm16({1, 2, 3, 4}))});
  bytes.resize(bytes.size() - 3);
  audio::WaveFile w = audio::readWaveFile(writeTemp("cut.wav", bytes));
  EXPECT_EQ(w.data.size(), 5u);
}

TEST(WaveFile, FaultsNameTheFile) {
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    const char* suffix;
  };
  auto noWave = riffWave({fmtChunk(1, 8000, 8)});
  noWave[8] = 'X';
  auto shortFmt = riffWave({});
  {
    Bytes b;
    b.tag("fmt ").u32(16).u16(1).u16(1);  // the file ends inside the format record
    shortFmt.insert(shortFmt.end(), b.b.begin(), b.b.end());
    shortFmt[4] = static_cast<uint8_t>(shortFmt.size() - 8);
  }
  const Case cases[] = {
      {"notwave.wav", noWave, "は、WAVEファイルではありません"},
      {"text.wav", {'h', 'e', 'l', 'l', 'o'}, "は、WAVEファイルではありません"},
      {"nofmt.wav", riffWave({chunk("data", {1, 2})}), "には、fmtチャンクが有りません"},
      {"shortfmt.wav", shortFmt, "のfmtチャンクが不正です"},
      {"nodata.wav", riffWave({fmtChunk(1, 8000, 8)}), "には、dataチャンクが有りません"},
      {"dataFirst.wav", riffWave({chunk("data", {1, 2}), fmtChunk(1, 8000, 8)}), "には、dataチャンクが有りません"},
  };
  for (const Case& c : cases) {
    std::string path = writeTemp(c.name, c.bytes);
    try {
      audio::readWaveFile(path);
      ADD_FAILURE() << c.name << " was accepted";
    } catch (const audio::EWaveFile& e) {
      EXPECT_EQ(e.message(), path + c.suffix) << c.name;
    }
  }
  try {
    audio::readWaveFile("/nonexistent/x.wav");
    ADD_FAILURE();
  } catch (const audio::EWaveFile& e) {
    EXPECT_EQ(e.message(), "/nonexistent/x.wavが、見つかりません");
  }
}

TEST(Pcm, ConvertsEightAndSixteenBitAndRefusesOtherFormats) {
  audio::WaveFile w;
  w.format = {1, 1, 8000, 8000, 1, 8};
  w.data = {128, 255, 0};
  auto p8 = audio::toPcm(w);
  ASSERT_TRUE(p8);
  EXPECT_EQ(p8->frames(), 3u);
  EXPECT_FLOAT_EQ(p8->samples[0], 0.0f);
  EXPECT_FLOAT_EQ(p8->samples[1], 127 / 128.0f);
  EXPECT_FLOAT_EQ(p8->samples[2], -1.0f);

  w.format = {1, 2, 44100, 176400, 4, 16};
  w.data = audio_test::pcm16({16384, -32768, 0});  // the odd half frame is dropped
  auto p16 = audio::toPcm(w);
  ASSERT_TRUE(p16);
  EXPECT_EQ(p16->frames(), 1u);
  EXPECT_FLOAT_EQ(p16->samples[0], 0.5f);
  EXPECT_FLOAT_EQ(p16->samples[1], -1.0f);

  for (audio::WaveFormat bad : {audio::WaveFormat{3, 1, 8000, 0, 4, 32}, audio::WaveFormat{1, 3, 8000, 0, 6, 16},
                                audio::WaveFormat{1, 1, 8000, 0, 3, 24}, audio::WaveFormat{1, 1, 0, 0, 2, 16}}) {
    w.format = bad;
    EXPECT_FALSE(audio::toPcm(w)) << bad.formatTag << " " << bad.channels << " " << bad.bitsPerSample;
  }
}

}  // namespace
