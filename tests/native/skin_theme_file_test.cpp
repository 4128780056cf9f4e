// Theme files written by the
// writer and read back through Tsk2SkinFileReader, TsuiFileThemeMgr and
// TsuiFileThemeData, and every kind of malformed file. After each load the
// private temporary folder must be empty again.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <regex>

#include "platform/error.h"
#include "theme/bitmap_file.h"
#include "theme/theme_archive.h"
#include "theme/theme_data.h"
#include "theme/theme_file.h"
#include "tests/support/theme_file_writer.h"
#include "theme/theme_keys.h"

namespace vh {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

std::uint32_t Get32(const Bytes& b, std::size_t at) {
  return std::uint32_t(b[at]) | (std::uint32_t(b[at + 1]) << 8) | (std::uint32_t(b[at + 2]) << 16) |
         (std::uint32_t(b[at + 3]) << 24);
}
void Set32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = std::uint8_t(v >> (8 * i));
}
void Set16(Bytes& b, std::size_t at, std::uint16_t v) {
  b[at] = std::uint8_t(v);
  b[at + 1] = std::uint8_t(v >> 8);
}

Bytes SolidBitmap(int w, int h, std::uint32_t colour) {
  return MakeBitmapFile(w, h, std::vector<std::uint32_t>(static_cast<std::size_t>(w) * h, colour));
}

// A theme with an entry of every kind.
Bytes SampleSkinData() {
  ThemeDataBuilder b;
  b.AddColour("SKIN2_CONTROLCOLOR", 0xDEEBEF)
      .AddColour("SKIN2_CONTROLBORDERCOLOR", 0x686868)
      .AddColour("SKIN2_CONTROLFONTCOLOR", 0x123456)
      .AddColour("SKIN2_BUTTONFONTCOLOR", -16)
      .AddBitmap("SKIN2_BUTTON", SolidBitmap(54, 21, 0xFF00FF))
      .AddBitmap("SKIN2_CHECKBOX", SolidBitmap(78, 13, 0x00FF00))
      .AddInteger("SKIN2_TITLEBARICONPOSX", 7)
      .AddInteger("SKIN2_BOTTOMREGIONMAXY", -2)
      .AddBoolean("SKIN2_BUTTONTRANS", 1)
      .AddBoolean("SKIN2_TITLEFIVESECT", 0)
      .AddBoolean("SKIN2_CHECKBOXTRANS", 200)
      .AddText("SKIN2_NOTE", "hello, theme");
  return b.Build();
}

// Locates the central directory entry and local header of the first member.
struct ArchiveLayout {
  std::size_t end = 0;      // end record
  std::size_t central = 0;  // first central entry
  std::size_t local = 0;    // first local header
};
ArchiveLayout Layout(const Bytes& archive) {
  ArchiveLayout l;
  l.end = archive.size() - 22;
  l.central = Get32(archive, l.end + 16);
  l.local = Get32(archive, l.central + 42);
  return l;
}

class RecordingTempFiles : public TempFileService {
 public:
  std::string folder;
  int made = 0;
  std::string TempFolder() override { return folder; }
  std::string NewGuidText() override {
    ++made;
    return DefaultTempFileService().NewGuidText();
  }
};

enum class Outcome { Ready, NotReady, Error };

const char* OutcomeName(Outcome o) {
  return o == Outcome::Ready ? "ready" : o == Outcome::NotReady ? "not ready" : "error";
}

class SkinThemeFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string guid = DefaultTempFileService().NewGuidText();
    root_ = fs::temp_directory_path() / ("vh_skin_" + guid.substr(1, 8));
    fs::create_directories(root_ / "tmp");
    fs::create_directories(root_ / "themes");
    temp_.folder = (root_ / "tmp").string() + "/";
  }
  void TearDown() override {
    ExpectNoTempFiles();
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  void ExpectNoTempFiles() {
    EXPECT_TRUE(fs::is_empty(root_ / "tmp")) << "a temporary file outlived the load";
  }

  std::string Save(const Bytes& bytes, const std::string& name = "theme.skn") {
    const std::string path = (root_ / "themes" / name).string();
    EXPECT_TRUE(SaveBytes(path, bytes));
    return path;
  }

  // Reads through the reader; the lists of a successful read go to `lists`.
  Outcome Read(const Bytes& archive, const std::string& password = "", SkinDataLists* lists = nullptr) {
    const std::string path = Save(archive);
    Outcome outcome;
    try {
      Tsk2SkinFileReader reader(path, password, temp_);
      outcome = reader.Success() ? Outcome::Ready : Outcome::NotReady;
      if (lists != nullptr) *lists = reader.Lists();
    } catch (const AppError& e) {
      EXPECT_STREQ(e.what(), "Failed to read skin file!");
      outcome = Outcome::Error;
    }
    ExpectNoTempFiles();
    // The manager agrees and never throws.
    TsuiFileThemeMgr manager(&temp_);
    EXPECT_EQ(manager.Load(path, password), outcome == Outcome::Ready);
    EXPECT_EQ(manager.Reader() != nullptr, outcome == Outcome::Ready);
    ExpectNoTempFiles();
    return outcome;
  }

  void ExpectOutcome(const Bytes& archive, Outcome expected, const std::string& password = "") {
    const Outcome got = Read(archive, password);
    EXPECT_EQ(got, expected) << "got " << OutcomeName(got) << ", expected " << OutcomeName(expected);
  }

  fs::path root_;
  RecordingTempFiles temp_;
};

// ---- Files that read -------------------------------------------------------

TEST_F(SkinThemeFileTest, DeflatedThemeReadsBack) {
  SkinDataLists lists;
  ASSERT_EQ(Read(WriteThemeFile(SampleSkinData()), "", &lists), Outcome::Ready);
  EXPECT_EQ(lists.Integer("SKIN2_CONTROLCOLOR"), 0xDEEBEF);
  EXPECT_EQ(lists.Integer("SKIN2_BUTTONFONTCOLOR"), -16);
  EXPECT_EQ(lists.Integer("SKIN2_BOTTOMREGIONMAXY"), -2);
  EXPECT_TRUE(lists.Boolean("SKIN2_BUTTONTRANS"));
  EXPECT_FALSE(lists.Boolean("SKIN2_TITLEFIVESECT"));
  EXPECT_TRUE(lists.Boolean("SKIN2_CHECKBOXTRANS"));
  EXPECT_EQ(lists.Text("SKIN2_NOTE"), std::optional<std::string>("hello, theme"));
  const ThemeBitmap* button = lists.Bitmap("SKIN2_BUTTON");
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->info.size(), (Size{54, 21}));
  EXPECT_EQ(button->file, SolidBitmap(54, 21, 0xFF00FF));
  // The lists as the reader keeps them.
  EXPECT_EQ(lists.BooleanLines(),
            (std::vector<std::string>{"SKIN2_BUTTONTRANS=1", "SKIN2_TITLEFIVESECT=0", "SKIN2_CHECKBOXTRANS=200"}));
  EXPECT_EQ(lists.IntegerLines().front(), "SKIN2_CONTROLCOLOR=" + std::to_string(0xDEEBEF));
  EXPECT_EQ(temp_.made, 2);  // the reader's load and the manager's
}

TEST_F(SkinThemeFileTest, StoredThemeReadsBack) {
  SkinDataLists lists;
  ASSERT_EQ(Read(WriteThemeFile(SampleSkinData(), MemberCompression::Stored), "", &lists), Outcome::Ready);
  EXPECT_EQ(lists.Integer("SKIN2_CONTROLBORDERCOLOR"), 0x686868);
  EXPECT_NE(lists.Bitmap("SKIN2_CHECKBOX"), nullptr);
}

TEST_F(SkinThemeFileTest, MethodFieldIsIgnored) {
  ArchiveMember m;
  m.data = SampleSkinData();
  m.methodField = 0;  // says "stored", holds deflate data all the same
  EXPECT_EQ(Read(WriteThemeArchive({m})), Outcome::Ready);
}

TEST_F(SkinThemeFileTest, EncryptedThemeReadsWithItsPassword) {
  for (MemberCompression c : {MemberCompression::Deflated, MemberCompression::Stored}) {
    SkinDataLists lists;
    ASSERT_EQ(Read(WriteThemeFile(SampleSkinData(), c, "s3cret"), "s3cret", &lists), Outcome::Ready);
    EXPECT_EQ(lists.Integer("SKIN2_CONTROLFONTCOLOR"), 0x123456);
  }
}

TEST_F(SkinThemeFileTest, EncryptedWithDataDescriptorChecksTheTimeByte) {
  ArchiveMember m;
  m.data = SampleSkinData();
  m.password = "pw";
  m.dataDescriptor = true;
  const Bytes archive = WriteThemeArchive({m});
  EXPECT_EQ(Read(archive, "pw"), Outcome::Ready);
  EXPECT_EQ(Read(archive, "wrong"), Outcome::NotReady);
}

TEST_F(SkinThemeFileTest, PasswordGivenForAPlainFileIsIgnored) {
  EXPECT_EQ(Read(WriteThemeFile(SampleSkinData()), "unused"), Outcome::Ready);
}

TEST_F(SkinThemeFileTest, MemberNameIsFoundWithoutRegardToCase) {
  ArchiveMember other;
  other.name = "readme.txt";
  other.data = Bytes{'h', 'i'};
  ArchiveMember skin;
  skin.name = "skindata.sk2";
  skin.data = SampleSkinData();
  EXPECT_EQ(Read(WriteThemeArchive({other, skin})), Outcome::Ready);
}

TEST_F(SkinThemeFileTest, LastRecordOfTheChainIsNotLoaded) {
  // Two records by hand: the second has next offset 0.
  Bytes data(24, 0);
  Set32(data, 12, 24);
  Set32(data, 20, 24);
  const std::uint32_t values = 24 + 2 * 77;
  Bytes r1 = EncodeSkinRecord("SKIN2_FIRST", 1, values, 4, 24 + 77);
  Bytes r2 = EncodeSkinRecord("SKIN2_LAST", 1, values + 4, 4, 0);
  data.insert(data.end(), r1.begin(), r1.end());
  data.insert(data.end(), r2.begin(), r2.end());
  data.insert(data.end(), {5, 0, 0, 0, 6, 0, 0, 0});
  SkinDataLists lists;
  ASSERT_EQ(Read(WriteThemeFile(data), "", &lists), Outcome::Ready);
  EXPECT_EQ(lists.Integer("SKIN2_FIRST"), 5);
  EXPECT_EQ(lists.Integer("SKIN2_LAST"), -1);
}

TEST_F(SkinThemeFileTest, RecordsMayPointBackwardsWithoutALoop) {
  // Header, then the data, then records laid out last-first, chained forward
  // in name order: each next offset lies before its record.
  Bytes data(24, 0);
  Set32(data, 12, 24);
  data.insert(data.end(), {1, 0, 0, 0, 2, 0, 0, 0});
  const std::uint32_t rEnd = 32, rB = 32 + 77, rA = 32 + 2 * 77;
  Set32(data, 20, rA);
  for (const Bytes& r : {EncodeSkinRecord("", 0, 0, 0, 0), EncodeSkinRecord("SKIN2_B", 1, 28, 4, rEnd),
                         EncodeSkinRecord("SKIN2_A", 1, 24, 4, rB)}) {
    data.insert(data.end(), r.begin(), r.end());
  }
  SkinDataLists lists;
  ASSERT_EQ(Read(WriteThemeFile(data), "", &lists), Outcome::Ready);
  EXPECT_EQ(lists.Integer("SKIN2_A"), 1);
  EXPECT_EQ(lists.Integer("SKIN2_B"), 2);
}

TEST_F(SkinThemeFileTest, UnknownKindLoadsNothing) {
  ThemeDataBuilder b;
  b.AddRaw("SKIN2_ODD", 9, {1, 2, 3}).AddInteger("SKIN2_TRANSCOLOR", 3);
  SkinDataLists lists;
  ASSERT_EQ(Read(WriteThemeFile(b.Build()), "", &lists), Outcome::Ready);
  EXPECT_EQ(lists.Integer("SKIN2_TRANSCOLOR"), 3);
  EXPECT_EQ(lists.Integer("SKIN2_ODD"), -1);
  EXPECT_TRUE(lists.Bitmaps().empty());
}

TEST_F(SkinThemeFileTest, ThemeWithoutEntriesIsReady) {
  EXPECT_EQ(Read(WriteThemeFile(ThemeDataBuilder().Build())), Outcome::Ready);
}

TEST_F(SkinThemeFileTest, LookupsIgnoreCaseAndTakeTheFirstOfAName) {
  ThemeDataBuilder b;
  b.AddInteger("SKIN2_FORMCOLOR", 1).AddInteger("skin2_formcolor", 2).AddInteger("A=B", 4);
  SkinDataLists lists;
  ASSERT_EQ(Read(WriteThemeFile(b.Build()), "", &lists), Outcome::Ready);
  EXPECT_EQ(lists.Integer("Skin2_FormColor"), 1);
  // A name holding '=' cannot be found again: its line reads as name "A".
  EXPECT_EQ(lists.Integer("A=B"), -1);
  EXPECT_EQ(lists.Integer("A"), -1);
}

// ---- Refused files ---------------------------------------------------------

TEST_F(SkinThemeFileTest, PkMarkIsAnError) {
  ArchiveMember m;
  m.data = SampleSkinData();
  ThemeArchiveOptions o;
  o.skMark = false;
  ExpectOutcome(WriteThemeArchive({m}, o), Outcome::Error);
}

TEST_F(SkinThemeFileTest, ArchiveCommentIsAnError) {
  ArchiveMember m;
  m.data = SampleSkinData();
  ThemeArchiveOptions o;
  o.comment = "made by a tool";
  ExpectOutcome(WriteThemeArchive({m}, o), Outcome::Error);
  // A comment length in an otherwise well-placed end record as well.
  Bytes archive = WriteThemeFile(SampleSkinData());
  Set16(archive, archive.size() - 2, 3);
  ExpectOutcome(archive, Outcome::Error);
}

TEST_F(SkinThemeFileTest, WrongOrEmptyPasswordIsNotReady) {
  const Bytes archive = WriteThemeFile(SampleSkinData(), MemberCompression::Deflated, "right");
  ExpectOutcome(archive, Outcome::NotReady, "");
  ExpectOutcome(archive, Outcome::NotReady, "wrong");
  ExpectOutcome(archive, Outcome::NotReady, "Right");
}

TEST_F(SkinThemeFileTest, SizeMismatchIsNotReady) {
  for (int delta : {-1, 1, 1000}) {
    Bytes archive = WriteThemeFile(SampleSkinData());
    const ArchiveLayout l = Layout(archive);
    Set32(archive, l.central + 24, Get32(archive, l.central + 24) + delta);
    ExpectOutcome(archive, Outcome::NotReady);
  }
}

TEST_F(SkinThemeFileTest, DeclaredSizeFarBeyondTheFileIsNotReady) {
  Bytes archive = WriteThemeFile(SampleSkinData());
  const ArchiveLayout l = Layout(archive);
  Set32(archive, l.central + 24, 0xFFFFFFFFu);
  ExpectOutcome(archive, Outcome::NotReady);
  Set32(archive, l.central + 24, kMaxSkinDataSize);
  ExpectOutcome(archive, Outcome::NotReady);
}

TEST_F(SkinThemeFileTest, WrongSignaturesAreErrors) {
  const Bytes good = WriteThemeFile(SampleSkinData());
  const ArchiveLayout l = Layout(good);
  Bytes bad = good;
  bad[l.end] ^= 0xFF;  // end record
  ExpectOutcome(bad, Outcome::Error);
  bad = good;
  bad[l.central + 1] ^= 0xFF;  // central entry
  ExpectOutcome(bad, Outcome::Error);
  bad = good;
  bad[l.local + 2] ^= 0xFF;  // local header (after the "SK")
  ExpectOutcome(bad, Outcome::Error);
}

TEST_F(SkinThemeFileTest, MissingMemberIsAnError) {
  ArchiveMember m;
  m.name = "SKINDATA.SK3";
  m.data = SampleSkinData();
  ExpectOutcome(WriteThemeArchive({m}), Outcome::Error);
  ExpectOutcome(WriteThemeArchive({}), Outcome::Error);
}

TEST_F(SkinThemeFileTest, OffsetsBeyondTheFileAreErrors) {
  const Bytes good = WriteThemeFile(SampleSkinData());
  const ArchiveLayout l = Layout(good);
  Bytes bad = good;
  Set32(bad, l.end + 16, 0xFFFFFFF0u);  // central directory offset
  ExpectOutcome(bad, Outcome::Error);
  bad = good;
  Set32(bad, l.central + 42, 0x7FFFFFFFu);  // local header offset
  ExpectOutcome(bad, Outcome::Error);
  bad = good;
  Set16(bad, l.central + 28, 0xFFFF);  // name length
  ExpectOutcome(bad, Outcome::Error);
  bad = good;
  Set16(bad, l.local + 28, 0xFFFF);  // local extra length
  ExpectOutcome(bad, Outcome::Error);
  bad = good;
  Set32(bad, l.end + 16, static_cast<std::uint32_t>(l.end));  // no entries at all
  ExpectOutcome(bad, Outcome::Error);
}

TEST_F(SkinThemeFileTest, TruncatedFilesNeverRead) {
  const Bytes good = WriteThemeFile(SampleSkinData(), MemberCompression::Deflated);
  // Every cut through the reader (the end record then lies elsewhere).
  for (std::size_t n = 0; n < good.size(); n += 7) {
    const Bytes cut(good.begin(), good.begin() + n);
    const Outcome o = Read(cut);
    EXPECT_NE(o, Outcome::Ready) << n;
  }
  // A member whose deflate data end early, with an intact directory.
  Bytes skinOnly = SampleSkinData();
  ArchiveMember m;
  m.data = skinOnly;
  Bytes archive = WriteThemeArchive({m});
  const ArchiveLayout l = Layout(archive);
  const std::size_t dataStart = l.local + 30 + 12;
  const std::size_t centralSize = archive.size() - l.central;
  Bytes shortened(archive.begin(), archive.begin() + dataStart + 40);
  shortened.insert(shortened.end(), archive.begin() + l.central, archive.end());
  Set32(shortened, shortened.size() - 22 + 16, static_cast<std::uint32_t>(dataStart + 40));
  ASSERT_EQ(shortened.size(), dataStart + 40 + centralSize);
  // The inflater runs on into the directory's bytes: it either fails or the
  // size cannot match; it never reads.
  EXPECT_NE(Read(shortened), Outcome::Ready);
}

TEST_F(SkinThemeFileTest, TinyFilesAreErrors) {
  ExpectOutcome(Bytes{}, Outcome::Error);
  ExpectOutcome(Bytes{'S', 'K', 3}, Outcome::Error);
  ExpectOutcome(Bytes{'S', 'K', 3, 4}, Outcome::Error);
  Bytes justEnd(22, 0);
  justEnd[0] = 'S';
  justEnd[1] = 'K';
  ExpectOutcome(justEnd, Outcome::Error);
  // "SK" followed by a bare end record (offset 0 points at itself).
  Bytes endOnly = {'S', 'K', 0, 0};
  Bytes rec(22, 0);
  Set32(rec, 0, 0x06054B50);
  endOnly.insert(endOnly.end(), rec.begin(), rec.end());
  ExpectOutcome(endOnly, Outcome::Error);
}

TEST_F(SkinThemeFileTest, BrokenDeflateDataIsAnError) {
  Bytes archive = WriteThemeFile(SampleSkinData());
  const ArchiveLayout l = Layout(archive);
  const std::size_t dataStart = l.local + 30 + 12;
  archive[dataStart] = 0xFF;  // block type 3: invalid
  ExpectOutcome(archive, Outcome::Error);
}

TEST_F(SkinThemeFileTest, DataMemberTooShortOrWithBadHeaderIsAnError) {
  ExpectOutcome(WriteThemeFile(Bytes{}), Outcome::Error);
  ExpectOutcome(WriteThemeFile(Bytes(15, 0)), Outcome::Error);
  Bytes data = SampleSkinData();
  Set32(data, 12, 16);  // header too short to hold the first record's offset
  ExpectOutcome(WriteThemeFile(data), Outcome::Error);
  data = SampleSkinData();
  Set32(data, 12, 0xFFFFFFF0u);  // header length beyond the data
  ExpectOutcome(WriteThemeFile(data), Outcome::Error);
  data = SampleSkinData();
  Set32(data, 20, 0x7FFFFFFFu);  // first record beyond the data
  ExpectOutcome(WriteThemeFile(data), Outcome::Error);
}

TEST_F(SkinThemeFileTest, RecordChainLoopsAreErrors) {
  // A record whose next offset is itself.
  Bytes data = SampleSkinData();
  Set32(data, 24 + 64 + 9, 24);
  ExpectOutcome(WriteThemeFile(data), Outcome::Error);
  // The third record points back to the first.
  data = SampleSkinData();
  Set32(data, 24 + 2 * 77 + 64 + 9, 24);
  ExpectOutcome(WriteThemeFile(data), Outcome::Error);
}

TEST_F(SkinThemeFileTest, RecordDataBeyondTheMemberIsAnError) {
  // Record 5 is the button bitmap; record 1 an integer; the last a text.
  const std::size_t bitmapRecord = 24 + 4 * 77, integerRecord = 24, textRecord = 24 + 11 * 77;
  Bytes data = SampleSkinData();
  Set32(data, bitmapRecord + 64 + 5, 0xFFFFFF00u);  // bitmap size
  ExpectOutcome(WriteThemeFile(data), Outcome::Error);
  data = SampleSkinData();
  Set32(data, bitmapRecord + 64 + 1, 0xFFFFFFFFu);  // bitmap offset
  ExpectOutcome(WriteThemeFile(data), Outcome::Error);
  data = SampleSkinData();
  Set32(data, integerRecord + 64 + 1, static_cast<std::uint32_t>(data.size() - 2));  // integer's 4 bytes
  ExpectOutcome(WriteThemeFile(data), Outcome::Error);
  data = SampleSkinData();
  Set32(data, textRecord + 64 + 5, 0x80000000u);  // text size
  ExpectOutcome(WriteThemeFile(data), Outcome::Error);
  data = SampleSkinData();
  Set32(data, integerRecord + 64 + 9, static_cast<std::uint32_t>(data.size() - 10));  // next record cut
  ExpectOutcome(WriteThemeFile(data), Outcome::Error);
}

TEST_F(SkinThemeFileTest, BitmapDataThatIsNotABitmapIsAnError) {
  ThemeDataBuilder b;
  b.AddBitmap("SKIN2_BUTTON", Bytes{'n', 'o', 't', ' ', 'a', ' ', 'b', 'm', 'p'});
  ExpectOutcome(WriteThemeFile(b.Build()), Outcome::Error);
  // A bitmap header whose rows lie beyond its data.
  Bytes bmp = SolidBitmap(10, 10, 0);
  bmp.resize(bmp.size() - 5);
  ThemeDataBuilder c;
  c.AddBitmap("SKIN2_BUTTON", bmp);
  ExpectOutcome(WriteThemeFile(c.Build()), Outcome::Error);
  // An empty bitmap entry.
  ThemeDataBuilder d;
  d.AddBitmap("SKIN2_BUTTON", Bytes{});
  ExpectOutcome(WriteThemeFile(d.Build()), Outcome::Error);
}

TEST_F(SkinThemeFileTest, UnwritableTemporaryFolderIsAnError) {
  temp_.folder = (root_ / "no-such-folder").string() + "/";
  ExpectOutcome(WriteThemeFile(SampleSkinData()), Outcome::Error);
}

TEST_F(SkinThemeFileTest, MissingFileIsRefusedAtOnce) {
  TsuiFileThemeMgr manager(&temp_);
  EXPECT_FALSE(manager.Load((root_ / "themes" / "absent.skn").string(), ""));
  EXPECT_EQ(temp_.made, 0);
  EXPECT_FALSE(manager.Load((root_ / "themes").string(), ""));  // a folder
  EXPECT_THROW(Tsk2SkinFileReader((root_ / "themes" / "absent.skn").string(), "", temp_), AppError);
}

// ---- The manager's key numbers ---------------------------------------------

TEST_F(SkinThemeFileTest, ManagerMapsKeyNumbersToNames) {
  TsuiFileThemeMgr manager(&temp_);
  EXPECT_EQ(manager.GetColor(21), 0);
  EXPECT_EQ(manager.GetBitmap(15), nullptr);
  EXPECT_EQ(manager.GetInt(0), 0);
  EXPECT_FALSE(manager.GetBool(5));
  ASSERT_TRUE(manager.Load(Save(WriteThemeFile(SampleSkinData())), ""));
  ExpectNoTempFiles();
  EXPECT_EQ(manager.GetColor(21), 0xDEEBEF);
  EXPECT_EQ(manager.GetColor(22), 0x686868);
  EXPECT_EQ(manager.GetColor(23), 0x123456);
  EXPECT_EQ(manager.GetColor(24), -16);
  EXPECT_EQ(manager.GetColor(0), -1);  // missing theme colour
  ASSERT_NE(manager.GetBitmap(15), nullptr);
  EXPECT_EQ(manager.GetBitmap(15)->name, "SKIN2_BUTTON");
  EXPECT_EQ(manager.GetBitmap(16)->name, "SKIN2_CHECKBOX");
  EXPECT_EQ(manager.GetBitmap(19), nullptr);
  EXPECT_EQ(manager.GetInt(0), 7);
  EXPECT_EQ(manager.GetInt(8), -2);
  EXPECT_EQ(manager.GetInt(1), -1);
  EXPECT_TRUE(manager.GetBool(5));
  EXPECT_TRUE(manager.GetBool(6));
  EXPECT_FALSE(manager.GetBool(0));
  EXPECT_FALSE(manager.GetBool(4));
  // Keys outside their group.
  EXPECT_EQ(manager.GetColor(32), 0);
  EXPECT_EQ(manager.GetBitmap(34), nullptr);
  EXPECT_EQ(manager.GetInt(-1), 0);
  EXPECT_FALSE(manager.GetBool(9));
  // A failed load discards the reader.
  EXPECT_FALSE(manager.Load(Save(Bytes{'P', 'K'}, "bad.skn"), ""));
  EXPECT_EQ(manager.GetColor(21), 0);
}

TEST(SkinThemeKeys, NamesInTheFilesOrder) {
  EXPECT_STREQ(ThemeKeyName(ThemeKeyGroup::Colour, 0), "SKIN2_TRANSCOLOR");
  EXPECT_STREQ(ThemeKeyName(ThemeKeyGroup::Colour, 21), "SKIN2_CONTROLCOLOR");
  EXPECT_STREQ(ThemeKeyName(ThemeKeyGroup::Colour, 24), "SKIN2_BUTTONFONTCOLOR");
  EXPECT_STREQ(ThemeKeyName(ThemeKeyGroup::Colour, 31), "SKIN2_SIDECHANNELBORDERCOLOR");
  EXPECT_STREQ(ThemeKeyName(ThemeKeyGroup::Bitmap, 0), "SKIN2_TITLEBAR1");
  EXPECT_STREQ(ThemeKeyName(ThemeKeyGroup::Bitmap, 15), "SKIN2_BUTTON");
  EXPECT_STREQ(ThemeKeyName(ThemeKeyGroup::Bitmap, 16), "SKIN2_CHECKBOX");
  EXPECT_STREQ(ThemeKeyName(ThemeKeyGroup::Bitmap, 19), "SKIN2_PROGRESSBAR1");
  EXPECT_STREQ(ThemeKeyName(ThemeKeyGroup::Bitmap, 22), "SKIN2_PROGRESSBAR4");
  EXPECT_STREQ(ThemeKeyName(ThemeKeyGroup::Bitmap, 33), "SKIN2_SCROLLBUTTON");
  EXPECT_STREQ(ThemeKeyName(ThemeKeyGroup::Integer, 0), "SKIN2_TITLEBARICONPOSX");
  EXPECT_STREQ(ThemeKeyName(ThemeKeyGroup::Integer, 8), "SKIN2_BOTTOMREGIONMAXY");
  EXPECT_STREQ(ThemeKeyName(ThemeKeyGroup::Boolean, 5), "SKIN2_BUTTONTRANS");
  EXPECT_STREQ(ThemeKeyName(ThemeKeyGroup::Boolean, 8), "SKIN2_TABCONTROLTRANS");
  EXPECT_STREQ(ThemeKeyName(ThemeKeyGroup::Boolean, 9), "");
  EXPECT_STREQ(ThemeKeyNameAt(32), "SKIN2_TITLEBAR1");
  EXPECT_STREQ(ThemeKeyNameAt(66), "SKIN2_TITLEBARICONPOSX");
  EXPECT_STREQ(ThemeKeyNameAt(75), "SKIN2_TITLEFIVESECT");
  EXPECT_STREQ(ThemeKeyNameAt(83), "SKIN2_TABCONTROLTRANS");
  EXPECT_STREQ(ThemeKeyNameAt(84), "");
}

// ---- TsuiFileTheme's data side ---------------------------------------------

class FakeLocator : public ThemeFileLocator {
 public:
  std::map<std::string, bool> files;
  std::vector<std::string> asked;
  std::string exe = "C:\\Program Files\\Varnhold", windows = "C:\\WINDOWS\\", system = "C:\\WINDOWS\\system32";
  bool Exists(const std::string& path) override {
    asked.push_back(path);
    return files.count(path) != 0;
  }
  std::string ExecutableFolder() override { return exe; }
  std::string WindowsFolder() override { return windows; }
  std::string SystemFolder() override { return system; }
};

TEST(SkinThemeFileSearch, PathThenExecutableWindowsAndSystemFolders) {
  FakeLocator loc;
  EXPECT_FALSE(FindThemeFile("D:\\skins\\blue.skn", loc).has_value());
  EXPECT_EQ(loc.asked, (std::vector<std::string>{"D:\\skins\\blue.skn", "C:\\Program Files\\Varnhold\\blue.skn",
                                                  "C:\\WINDOWS\\blue.skn", "C:\\WINDOWS\\system32\\blue.skn"}));
  loc.files["C:\\WINDOWS\\system32\\blue.skn"] = true;
  EXPECT_EQ(FindThemeFile("D:\\skins\\blue.skn", loc), std::optional<std::string>("C:\\WINDOWS\\system32\\blue.skn"));
  loc.files["C:\\WINDOWS\\blue.skn"] = true;
  EXPECT_EQ(FindThemeFile("blue.skn", loc), std::optional<std::string>("C:\\WINDOWS\\blue.skn"));
  loc.files["D:\\skins\\blue.skn"] = true;
  EXPECT_EQ(FindThemeFile("D:\\skins\\blue.skn", loc), std::optional<std::string>("D:\\skins\\blue.skn"));
  EXPECT_FALSE(FindThemeFile("", loc).has_value());
}

TEST_F(SkinThemeFileTest, FileThemeDataLoadsAndAnswers) {
  struct Locator : ThemeFileLocator {
    std::string exe;
    bool Exists(const std::string& path) override {
      std::error_code ec;
      return fs::is_regular_file(path, ec);
    }
    std::string ExecutableFolder() override { return exe; }
    std::string WindowsFolder() override { return ""; }
    std::string SystemFolder() override { return ""; }
  } locator;
  locator.exe = (root_ / "themes").string();
  TsuiFileThemeData theme(locator, &temp_);
  EXPECT_FALSE(theme.Ready());
  EXPECT_EQ(theme.GetThemeColor(21), 0);

  Save(WriteThemeFile(SampleSkinData(), MemberCompression::Deflated, "pw"), "locked.skn");
  // Found beside the executable; without the password it is not ready.
  EXPECT_TRUE(theme.SetThemeFile("Z:\\elsewhere\\locked.skn"));
  EXPECT_EQ(theme.ThemeFile(), (root_ / "themes" / "locked.skn").string());
  EXPECT_FALSE(theme.Ready());
  theme.SetReady(true);
  EXPECT_FALSE(theme.Ready());
  // Setting the password loads it again.
  EXPECT_TRUE(theme.SetPassword("pw"));
  EXPECT_TRUE(theme.Ready());
  EXPECT_EQ(theme.GetThemeColor(21), 0xDEEBEF);
  EXPECT_TRUE(theme.GetThemeBool(5));
  // Frame cutting: the 78-pixel check box strip in 6 frames of 13.
  ThemeBitmapFrame f = theme.GetThemeBitmapFrame(16, 4, 6);
  ASSERT_NE(f.bitmap, nullptr);
  EXPECT_EQ(f.source, (Rect{39, 0, 52, 13}));
  f = theme.GetThemeBitmapFrame(15, 0, 3);
  EXPECT_EQ(f.source, (Rect{0, 0, 54, 21}));
  f = theme.GetThemeBitmapFrame(15, 3, 3);
  EXPECT_EQ(f.source, (Rect{36, 0, 54, 21}));
  EXPECT_EQ(theme.GetThemeBitmapFrame(19, 1, 1).bitmap, nullptr);
  // A name that cannot be found changes nothing.
  EXPECT_FALSE(theme.SetThemeFile("nowhere.skn"));
  EXPECT_TRUE(theme.Ready());
  EXPECT_EQ(theme.ThemeFile(), (root_ / "themes" / "locked.skn").string());
  // An empty password stores it without loading.
  EXPECT_FALSE(theme.SetPassword(""));
  EXPECT_TRUE(theme.Ready());
  // A file that is found but cannot be read: not ready, no reader.
  Save(Bytes{'S', 'K', 0, 0, 0}, "broken.skn");
  EXPECT_TRUE(theme.SetThemeFile("broken.skn"));
  EXPECT_FALSE(theme.Ready());
  EXPECT_EQ(theme.GetThemeColor(21), 0);
}

// ---- Temporary file names --------------------------------------------------

TEST(SkinThemeTempFiles, BracedGuidText) {
  const std::uint8_t bytes[16] = {0x78, 0x56, 0x34, 0x12, 0xBC, 0x9A, 0xF0, 0xDE,
                                  0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
  EXPECT_EQ(FormatGuid(bytes), "{12345678-9ABC-DEF0-0123-456789ABCDEF}");
  const std::regex pattern("\\{[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}\\}");
  const std::string a = DefaultTempFileService().NewGuidText();
  const std::string b = DefaultTempFileService().NewGuidText();
  EXPECT_TRUE(std::regex_match(a, pattern)) << a;
  EXPECT_NE(a, b);
  const std::string folder = DefaultTempFileService().TempFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_TRUE(folder.back() == '/' || folder.back() == '\\');
}

// ---- In memory: extraction outcomes and the data parser --------------------

TEST(SkinThemeArchive, ExtractionOutcomesInMemory) {
  const Bytes data = SampleSkinData();
  MemorySink sink;
  SkinExtractResult r = ExtractSkinData(WriteThemeFile(data), "", sink);
  EXPECT_EQ(r.outcome, SkinExtractOutcome::Success) << r.reason;
  EXPECT_EQ(sink.bytes, data);
  MemorySink none;
  r = ExtractSkinData(WriteThemeFile(data, MemberCompression::Deflated, "x"), "y", none);
  EXPECT_EQ(r.outcome, SkinExtractOutcome::NotReady);
  EXPECT_TRUE(none.bytes.empty());
  r = ExtractSkinData(nullptr, 0, "", none);
  EXPECT_EQ(r.outcome, SkinExtractOutcome::Error);
}

TEST(SkinThemeArchive, OutputNeverExceedsTheDeclaredSize) {
  // 1 MB of zeros deflates to about 1 KB; declared as 100 bytes.
  ArchiveMember m;
  m.data = Bytes(1 << 20, 0);
  Bytes archive = WriteThemeArchive({m});
  const ArchiveLayout l = Layout(archive);
  Set32(archive, l.central + 24, 100);
  MemorySink sink;
  const SkinExtractResult r = ExtractSkinData(archive, "", sink);
  EXPECT_EQ(r.outcome, SkinExtractOutcome::NotReady);
  EXPECT_LE(sink.bytes.size(), 100u);
}

TEST(SkinThemeData, ParserStopsOnEveryTruncation) {
  const Bytes data = SampleSkinData();
  for (std::size_t n = 0; n < data.size(); ++n) {
    SkinDataLists lists;
    const SkinDataParseResult r = ParseSkinData(data.data(), n, lists);
    EXPECT_FALSE(r.ok) << n;
  }
  SkinDataLists lists;
  EXPECT_TRUE(ParseSkinData(data, lists).ok);
}

TEST(SkinThemeData, ListIntegers) {
  EXPECT_EQ(ParseListInteger("123"), 123);
  EXPECT_EQ(ParseListInteger("-2147483648"), INT32_MIN);
  EXPECT_EQ(ParseListInteger("$FF"), 255);
  EXPECT_EQ(ParseListInteger("$FFFFFFFF"), -1);
  EXPECT_FALSE(ParseListInteger("2147483648").has_value());
  EXPECT_FALSE(ParseListInteger("").has_value());
  EXPECT_FALSE(ParseListInteger("-").has_value());
  EXPECT_FALSE(ParseListInteger("1 ").has_value());
  EXPECT_FALSE(ParseListInteger("B=5").has_value());
}

TEST(SkinBitmapFile, HeaderChecks) {
  const Bytes good = SolidBitmap(3, 2, 0x0000FF);
  ASSERT_EQ(good.size(), 54u + 2 * 12);
  const auto info = ParseBitmapFile(good);
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->size(), (Size{3, 2}));
  EXPECT_EQ(info->bitCount, 24);
  // Bottom-up rows: the last row in the file is the top one; pixel (0,0) red.
  EXPECT_EQ(good[54 + 12 + 2], 0xFF);
  Bytes bad = good;
  bad[0] = 'X';
  EXPECT_FALSE(ParseBitmapFile(bad));
  bad = good;
  Set32(bad, 18, 0);  // width 0
  EXPECT_FALSE(ParseBitmapFile(bad));
  bad = good;
  Set32(bad, 22, 0);  // height 0
  EXPECT_FALSE(ParseBitmapFile(bad));
  bad = good;
  Set32(bad, 18, 100000);  // width beyond the limit
  EXPECT_FALSE(ParseBitmapFile(bad));
  bad = good;
  Set16(bad, 28, 7);  // bit count
  EXPECT_FALSE(ParseBitmapFile(bad));
  bad = good;
  Set32(bad, 30, 4);  // JPEG compression
  EXPECT_FALSE(ParseBitmapFile(bad));
  bad = good;
  Set32(bad, 14, 0xFFFFFFF0u);  // header size
  EXPECT_FALSE(ParseBitmapFile(bad));
  bad = good;
  Set32(bad, 10, 0xFFFFFFF0u);  // pixel offset
  EXPECT_FALSE(ParseBitmapFile(bad));
  bad = good;
  Set32(bad, 22, static_cast<std::uint32_t>(-2));  // top-down
  EXPECT_TRUE(ParseBitmapFile(bad).has_value());
  EXPECT_TRUE(ParseBitmapFile(bad)->topDown);
  bad = good;
  Set32(bad, 22, 0x80000000u);  // INT_MIN height
  EXPECT_FALSE(ParseBitmapFile(bad));
  EXPECT_FALSE(ParseBitmapFile(nullptr, 0));
  EXPECT_TRUE(MakeBitmapFile(0, 5, {}).empty());
}

}  // namespace
}  // namespace vh
