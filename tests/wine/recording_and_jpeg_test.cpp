// The recording platform keeps the machine-changing calls from Wine, and the
// cross-built libjpeg decodes under Wine.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include <jpeglib.h>

#include "platform/recording_platform.h"
#include "platform/win32_platform_win.h"
#include "tests/wine/support/wine_env.h"

namespace vh {
namespace {

TEST(RecordingPlatformOnWine, RecordsSwapAndRestartWithoutPassingThemOn) {
  Win32Platform real;
  test::ScratchFolder folder;
  std::string log = folder.File("calls.log");
  RecordingPlatform recording(real.platform(), log);
  Platform& p = recording.platform();
  test::WriteFileBytes(folder.File("SYSTEM.hvz"), 100);

  EXPECT_EQ(p.registry.ReplaceKey(RootKey::LocalMachine, "SYSTEM", folder.File("SYSTEM.hvz"), folder.File("SYSTEM.bak")), 0);
  EXPECT_NE(p.registry.ReplaceKey(RootKey::Users, "", folder.File("none.hvz"), folder.File("none.bak")), 0);
  // Passed on, this would end every process of the prefix, this test too.
  EXPECT_TRUE(p.power.ExitSystem(6, 1));

  ASSERT_EQ(recording.records().size(), 3u);
  EXPECT_EQ(recording.records()[0], "RegReplaceKeyA\tHKEY_LOCAL_MACHINE\tSYSTEM\t" + folder.File("SYSTEM.hvz") + "\t" +
                                        folder.File("SYSTEM.bak"));
  EXPECT_EQ(recording.records()[2], "ExitWindowsEx\t6\t1");
  EXPECT_EQ(test::ReadFileText(log), recording.records()[0] + "\n" + recording.records()[1] + "\n" +
                                         recording.records()[2] + "\n");
  EXPECT_FALSE(real.Exists(folder.File("SYSTEM.bak")));
  // Reads go to the real system.
  EXPECT_TRUE(p.files.Exists(folder.File("SYSTEM.hvz")));
}

std::vector<unsigned char> EncodeGradient(int width, int height) {
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = JDIMENSION(width);
  c.image_height = JDIMENSION(height);
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 95, TRUE);
  jpeg_start_compress(&c, TRUE);
  std::vector<unsigned char> row(std::size_t(width) * 3);
  while (c.next_scanline < c.image_height) {
    for (int x = 0; x < width; ++x) {
      row[std::size_t(x) * 3] = (unsigned char)(x * 255 / (width - 1));
      row[std::size_t(x) * 3 + 1] = 128;
      row[std::size_t(x) * 3 + 2] = (unsigned char)(c.next_scanline * 255 / (c.image_height - 1));
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&c, rows, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::vector<unsigned char> bytes(out, out + size);
  free(out);
  return bytes;
}

TEST(LibJpegOnWine, DecodesWhatItEncodes) {
  std::vector<unsigned char> jpeg = EncodeGradient(64, 32);
  ASSERT_GT(jpeg.size(), 100u);
  jpeg_decompress_struct d{};
  jpeg_error_mgr err{};
  d.err = jpeg_std_error(&err);
  jpeg_create_decompress(&d);
  jpeg_mem_src(&d, jpeg.data(), (unsigned long)jpeg.size());
  ASSERT_EQ(jpeg_read_header(&d, TRUE), JPEG_HEADER_OK);
  jpeg_start_decompress(&d);
  EXPECT_EQ(d.output_width, 64u);
  EXPECT_EQ(d.output_height, 32u);
  std::vector<unsigned char> row(d.output_width * 3);
  int line = 0;
  while (d.output_scanline < d.output_height) {
    JSAMPROW rows[1] = {row.data()};
    jpeg_read_scanlines(&d, rows, 1);
    if (line == 16) {
      EXPECT_NEAR(row[0], 0, 8);
      EXPECT_NEAR(row[63 * 3], 255, 8);
      EXPECT_NEAR(row[32 * 3 + 1], 128, 8);
      EXPECT_NEAR(row[32 * 3 + 2], 16 * 255 / 31, 8);
    }
    ++line;
  }
  jpeg_finish_decompress(&d);
  jpeg_destroy_decompress(&d);
  EXPECT_EQ(line, 32);
}

}  // namespace
}  // namespace vh
