// The card package writer under Wine: packages built from the real player and generated media, read back
// by the independent reader of package_fixture; failures, texts, the compressor option and the attachment.
#include <gtest/gtest.h>

#include <afxwin.h>

#include <algorithm>
#include <cstring>

#include "cardpackage/trailer.h"
#include "package_fixture.h"
#include "quillo/CardPackage.h"
#include "quillo/QuilloIds.h"

using namespace packagetest;

namespace {

const char kLabel[] = "Our holiday pictures";
const char kAddress[] = "www.example.org/holiday";

class ResourceEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    HINSTANCE res = LoadLibraryA((ProgramDir() + "quillores.dll").c_str());
    ASSERT_TRUE(res != NULL);
    AfxSetResourceHandle(res);
  }
};
::testing::Environment* const g_resources = ::testing::AddGlobalTestEnvironment(new ResourceEnvironment);

class PackageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SampleMedia();  // made in the system's temporary folder before any test moves TMP
    folder = FreshFolder("quillo_package_tests");
    out = folder + "card.exe";
    stubBytes = ReadBytes(ProgramDir() + quillo::kPlayerStubName);
    ASSERT_FALSE(stubBytes.empty()) << "NXPLAY.BIN beside the test program";
  }
  int Write(LPCSTR picture, LPCSTR video, LPCSTR sound, int kind, LPCSTR outPath = NULL, LPCSTR stub = NULL,
            int viewerFiles = 1, int compress = 0, LPCSTR message = "Greetings from the sea",
            LPCSTR sender = "Ann", LPCSTR recipients = "Bob; Carla", LPCSTR subject = "Sea") {
    return WriteCardPackage(picture, video, sound, kind, subject, message, sender, recipients,
                            outPath ? outPath : out.c_str(), stub, PastStamp(), compress, viewerFiles, 0, kLabel,
                            kAddress);
  }
  // Every part present ends where the next begins; the first begins after the stub, the last at the trailer.
  void ExpectChained(const Parsed& p, size_t stubSize) {
    uint64_t at = stubSize;
    for (size_t field : {kPicture, kViewer1, kViewer2, kVideo, kSound}) {
      if (p.U32(field + 4) == 0) continue;
      EXPECT_EQ(at, p.U32(field)) << "part at field " << field;
      at = uint64_t(p.U32(field)) + p.U32(field + 4);
    }
    EXPECT_EQ(at, p.trailerAt);
  }
  std::string folder, out;
  Bytes stubBytes;
};

TEST_F(PackageTest, PictureCardWithoutSound) {
  const Media& m = SampleMedia();
  ASSERT_EQ(1, Write(m.front.c_str(), NULL, NULL, 3));
  const Parsed p = Parse(out);
  EXPECT_EQ(1, p.U16(kVersion));
  EXPECT_EQ(3, p.U16(kKind));
  EXPECT_TRUE(std::equal(stubBytes.begin(), stubBytes.end(), p.file.begin())) << "the package begins with the player";
  EXPECT_EQ(stubBytes.size(), p.U32(kPicture));
  EXPECT_EQ(ReadBytes(m.front), p.Part(kPicture));
  EXPECT_EQ(ReadBytes(ProgramDir() + quillo::kViewerFile1Name), p.Part(kViewer1));
  EXPECT_EQ(ReadBytes(ProgramDir() + quillo::kViewerFile2Name), p.Part(kViewer2));
  EXPECT_GT(p.U32(kViewer1 + 4), 0u);
  EXPECT_GT(p.U32(kViewer2 + 4), 0u);
  for (size_t field : {size_t(kVideo), size_t(kVideo + 4), size_t(kSound), size_t(kSound + 4)})
    EXPECT_EQ(0u, p.U32(field)) << field;
  ExpectChained(p, stubBytes.size());
  EXPECT_EQ(0, p.U8(kCompressed));
  EXPECT_EQ(p.SumOfParts(), p.U8(kChecksum));
  EXPECT_EQ("Greetings from the sea", p.Text(kMessage, 767));
  EXPECT_EQ("Ann", p.Text(kSender, 255));
  EXPECT_EQ("Bob; Carla", p.Text(kRecipients, 255));
  EXPECT_EQ("Sea", p.Text(kSubject, 255));
  EXPECT_EQ(kLabel, p.Text(kLinkLabel, 31));
  EXPECT_EQ(kAddress, p.Text(kLinkAddress, 128));
  EXPECT_EQ(0, p.U8(kReserved));
}

TEST_F(PackageTest, VideoCardWithSound) {
  const Media& m = SampleMedia();
  ASSERT_EQ(1, Write(m.front.c_str(), m.clip.c_str(), m.sound.c_str(), 2));
  const Parsed p = Parse(out);
  EXPECT_EQ(2, p.U16(kKind));
  for (size_t field : {kPicture, kViewer1, kViewer2, kVideo, kSound}) EXPECT_GT(p.U32(field + 4), 0u) << field;
  EXPECT_EQ(ReadBytes(m.clip), p.Part(kVideo));
  EXPECT_EQ(ReadBytes(m.sound), p.Part(kSound));
  EXPECT_EQ(p.U32(kVideo) + p.U32(kVideo + 4), p.U32(kSound));
  ExpectChained(p, stubBytes.size());
  EXPECT_EQ(p.SumOfParts(), p.U8(kChecksum));
}

TEST_F(PackageTest, TextsAreCutToTheirFields) {
  struct Case {
    size_t field, size, given;
  } cases[] = {{kMessage, 767, 800}, {kSender, 255, 300}, {kRecipients, 255, 300}, {kSubject, 255, 300}};
  const std::string message(800, 'm'), sender(300, 's'), recipients(300, 'r'), subject(300, 'u');
  ASSERT_EQ(1, Write(SampleMedia().front.c_str(), NULL, NULL, 3, NULL, NULL, 0, 0, message.c_str(),
                     sender.c_str(), recipients.c_str(), subject.c_str()));
  const Parsed p = Parse(out);
  for (const Case& c : cases) {
    const std::string text = p.Text(c.field, c.size);
    EXPECT_EQ(c.size - 1, text.size()) << c.field;
    EXPECT_EQ(0, p.U8(c.field + c.size - 1)) << c.field;
  }
  EXPECT_EQ(std::string(766, 'm'), p.Text(kMessage, 767));
  EXPECT_EQ(std::string(254, 's'), p.Text(kSender, 255));
}

TEST_F(PackageTest, WrongArgumentsFailBeforeAnyFileIsMade) {
  const Media& m = SampleMedia();
  struct Case {
    const char* what;
    LPCSTR picture, video;
    int kind;
  } cases[] = {{"video only without video", m.front.c_str(), NULL, 1},
               {"video and picture without video", m.front.c_str(), "", 2},
               {"no picture", NULL, NULL, 3},
               {"kind out of range", m.front.c_str(), NULL, 4}};
  for (const Case& c : cases) {
    EXPECT_EQ(0, Write(c.picture, c.video, NULL, c.kind)) << c.what;
    EXPECT_TRUE(List(folder).empty()) << c.what;
  }
}

TEST_F(PackageTest, StubsWithoutAWholeMarkerAreRejectedAndLeaveNothing) {
  const size_t block = 65534, marker = 161;
  struct Case {
    const char* what;
    long markerAt;  // -1: none
    int expected;
  } cases[] = {{"no marker", -1, 0},
               {"marker straddling the first block boundary", long(block - marker / 2), 0},
               {"marker ending exactly at the boundary", long(block - marker), 1},
               {"marker in the second block", long(block + 1000), 1}};
  for (const Case& c : cases) {
    Bytes stub(3 * block);
    for (size_t i = 0; i < stub.size(); ++i) stub[i] = uint8_t(i * 31 + 7);
    if (c.markerAt >= 0) std::memcpy(stub.data() + c.markerAt, cardpackage::kPlayerMarker, marker);
    const std::string stubPath = folder + "stub.bin";
    WriteBytes(stubPath, stub);
    const Bytes before = {'o', 'l', 'd'};
    WriteBytes(out, before);
    EXPECT_EQ(c.expected, Write(SampleMedia().front.c_str(), NULL, NULL, 3, NULL, stubPath.c_str())) << c.what;
    if (c.expected) {
      EXPECT_EQ(stub.size(), Parse(out).U32(kPicture)) << c.what;
    } else {
      EXPECT_EQ(before, ReadBytes(out)) << c.what << ": the file at the output path stays as it was";
      DeleteFileA(out.c_str());
      DeleteFileA(stubPath.c_str());
      EXPECT_TRUE(List(folder).empty()) << c.what;
    }
    DeleteFileA(out.c_str());
  }
}

TEST_F(PackageTest, PartsSummingTo256GiveChecksumZero) {
  const std::string picture = folder + "bytes.jpg";
  WriteBytes(picture, {0x80, 0x7F, 0x01});
  ASSERT_EQ(1, Write(picture.c_str(), NULL, NULL, 3, NULL, NULL, 0));
  const Parsed p = Parse(out);
  EXPECT_EQ(3u, p.U32(kPicture + 4));
  EXPECT_EQ(0, p.U8(kChecksum));
}

TEST_F(PackageTest, TwoPackagesOfOneCardCarryTheCardsTimeStamp) {
  const std::string second = folder + "again.exe";
  ASSERT_EQ(1, Write(SampleMedia().front.c_str(), NULL, NULL, 3));
  Sleep(1100);
  ASSERT_EQ(1, Write(SampleMedia().front.c_str(), NULL, NULL, 3, second.c_str()));
  const Parsed a = Parse(out), b = Parse(second);
  const time_t stamp = PastStamp();
  const std::tm local = *std::localtime(&stamp);
  const int expected[] = {local.tm_sec,  local.tm_min,  local.tm_hour, local.tm_mday, local.tm_mon,
                          local.tm_year, local.tm_wday, local.tm_yday, local.tm_isdst > 0};
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(expected[i], a.U16(kCreated + 2 * i)) << i;
    EXPECT_EQ(a.U16(kCreated + 2 * i), b.U16(kCreated + 2 * i)) << i;
  }
  EXPECT_EQ(2003 - 1900, a.U16(kCreated + 10));
}

TEST_F(PackageTest, UnreadablePartsAreRecordedEmptyAndThePackageFinished) {
  const Media& m = SampleMedia();
  const std::string missing = folder + "no such sound.wav";
  ASSERT_EQ(1, Write(m.front.c_str(), m.clip.c_str(), missing.c_str(), 2));
  Parsed p = Parse(out);
  EXPECT_EQ(0u, p.U32(kSound + 4));
  EXPECT_GT(p.U32(kVideo + 4), 0u);
  ExpectChained(p, stubBytes.size());
  EXPECT_EQ(p.SumOfParts(), p.U8(kChecksum));

  ASSERT_EQ(1, Write((folder + "no such front.jpg").c_str(), NULL, m.sound.c_str(), 3));
  p = Parse(out);
  EXPECT_EQ(0u, p.U32(kPicture + 4));
  EXPECT_EQ(ReadBytes(m.sound), p.Part(kSound));
  ExpectChained(p, stubBytes.size());
}

TEST_F(PackageTest, ExistingOutputIsReplacedWhole) {
  WriteBytes(out, Bytes(5000000, 0xAB));
  ASSERT_EQ(1, Write(SampleMedia().front.c_str(), NULL, NULL, 3));
  const Parsed p = Parse(out);
  ExpectChained(p, stubBytes.size());
  EXPECT_EQ(std::vector<std::string>{"card.exe"}, List(folder));
}

// The compressor is an outside program; the test double writes "CMP" and the source's bytes reversed.
class CompressorTest : public PackageTest {
 protected:
  void SetUp() override {
    PackageTest::SetUp();
    GetCurrentDirectoryA(MAX_PATH, savedDir);
    GetEnvironmentVariableA("TMP", savedTmp, MAX_PATH);
    tmp = FreshFolder("quillo_package_tmp");
    SetEnvironmentVariableA("TMP", tmp.c_str());
  }
  void TearDown() override {
    SetCurrentDirectoryA(savedDir);
    SetEnvironmentVariableA("TMP", savedTmp);
  }
  static Bytes Compressed(const Bytes& source) {
    Bytes c = {'C', 'M', 'P'};
    c.insert(c.end(), source.rbegin(), source.rend());
    return c;
  }
  char savedDir[MAX_PATH], savedTmp[MAX_PATH];
  std::string tmp;
};

TEST_F(CompressorTest, PartsGoThroughTheCompressorAndItsOutputIsRemoved) {
  ASSERT_TRUE(SetCurrentDirectoryA((ProgramDir() + "test-compressor").c_str()));
  const Media& m = SampleMedia();
  ASSERT_EQ(1, Write(m.front.c_str(), NULL, m.sound.c_str(), 3, NULL, NULL, 1, 1));
  const Parsed p = Parse(out);
  EXPECT_EQ(1, p.U8(kCompressed));
  EXPECT_EQ(Compressed(ReadBytes(m.front)), p.Part(kPicture));
  EXPECT_EQ(Compressed(ReadBytes(ProgramDir() + quillo::kViewerFile2Name)), p.Part(kViewer2));
  EXPECT_EQ(Compressed(ReadBytes(m.sound)), p.Part(kSound));
  ExpectChained(p, stubBytes.size());
  EXPECT_EQ(p.SumOfParts(), p.U8(kChecksum));
  EXPECT_TRUE(List(tmp).empty()) << "the compressor's NXN outputs are deleted";
}

TEST_F(CompressorTest, NoCompressorMeansEmptyPartsInAFinishedPackage) {
  ASSERT_TRUE(SetCurrentDirectoryA(tmp.c_str()));
  ASSERT_EQ(1, Write(SampleMedia().front.c_str(), NULL, SampleMedia().sound.c_str(), 3, NULL, NULL, 1, 1));
  const Parsed p = Parse(out);
  EXPECT_EQ(1, p.U8(kCompressed));
  for (size_t field : {kPicture, kViewer1, kViewer2, kSound}) EXPECT_EQ(0u, p.U32(field + 4)) << field;
  EXPECT_EQ(stubBytes.size(), p.trailerAt);
  EXPECT_TRUE(List(tmp).empty());
}

// The writer's message boxes, watched and closed by a timer on the test's own thread.
std::string g_boxText;
BOOL CALLBACK FindBox(HWND wnd, LPARAM out) {
  char cls[16];
  GetClassNameA(wnd, cls, sizeof cls);
  if (lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(wnd)) {
    *reinterpret_cast<HWND*>(out) = wnd;
    return FALSE;
  }
  return TRUE;
}
void CALLBACK CloseBox(HWND, UINT, UINT_PTR id, DWORD) {
  HWND box = NULL;
  EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
  if (!box) return;
  KillTimer(NULL, id);
  char text[512] = "";
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
  g_boxText = text;
  PostMessageA(box, WM_COMMAND, IDOK, 0);
}

TEST_F(PackageTest, FailuresShowTheirMessageNamingTheFile) {
  const std::string noMarker = folder + "plain.bin";
  WriteBytes(noMarker, Bytes(1000, 'p'));
  struct Case {
    std::string stub;
    UINT id;
  } cases[] = {{folder + "absent.bin", IDS_PACKAGE_STUB_MISSING}, {noMarker, IDS_PACKAGE_STUB_INVALID}};
  for (const Case& c : cases) {
    g_boxText.clear();
    const UINT_PTR timer = SetTimer(NULL, 0, 50, CloseBox);
    EXPECT_EQ(0, WriteCardPackage(SampleMedia().front.c_str(), NULL, NULL, 3, "", "", "", "", out.c_str(),
                                  c.stub.c_str(), PastStamp(), 0, 1, 1, "", ""));
    KillTimer(NULL, timer);
    CString expected;
    AfxFormatString1(expected, c.id, c.stub.c_str());
    EXPECT_FALSE(expected.IsEmpty());
    EXPECT_EQ(std::string(LPCSTR(expected)), g_boxText);
    EXPECT_NE(std::string::npos, g_boxText.find(c.stub));
    EXPECT_FALSE(Exists(out));
  }
  for (UINT id : {IDS_PACKAGE_NOT_OPENED, IDS_PACKAGE_NOT_WRITTEN}) {
    CString text;
    EXPECT_TRUE(text.LoadString(id)) << id;
    EXPECT_NE(-1, text.Find("%1")) << id;
  }
}

class AttachmentTest : public CompressorTest {
 protected:
  // A copy of the front picture, standing for the one the card window renders; the build deletes it.
  std::string RenderedFront() {
    const std::string front = quillo::ReserveTempFile();
    CopyFileA(SampleMedia().front.c_str(), front.c_str(), FALSE);
    return front;
  }
};

TEST_F(AttachmentTest, PackageAttachmentFromARenderedFront) {
  struct Case {
    std::string media;
    int kind;
  } cases[] = {{SampleMedia().front, 3}, {folder + "clip.AVI", 2}, {folder + "clip.ivs", 2}};
  CopyFileA(SampleMedia().clip.c_str(), (folder + "clip.AVI").c_str(), FALSE);
  CopyFileA(SampleMedia().clip.c_str(), (folder + "clip.ivs").c_str(), FALSE);
  for (const Case& c : cases) {
    quillo::CardPackageRequest request;
    request.frontPicture = RenderedFront();
    request.mediaFile = c.media;
    request.soundFile = SampleMedia().sound;
    request.subject = "Subject";
    request.message = "Message";
    request.sender = "Sender";
    request.recipients = "Recipient";
    request.created = PastStamp();
    request.linkLabel = kLabel;
    request.linkAddress = kAddress;
    char path[MAX_PATH] = "", name[MAX_PATH] = "";
    MapiFileDesc desc = {};
    desc.lpszPathName = path;
    desc.lpszFileName = name;
    const std::string package = quillo::BuildPackageFromFront(request, &desc);
    ASSERT_FALSE(package.empty()) << c.media;
    EXPECT_FALSE(Exists(request.frontPicture)) << "the rendered front is deleted";
    EXPECT_EQ(tmp, package.substr(0, tmp.size()));
    const std::string file = package.substr(tmp.size());
    EXPECT_EQ("NXN", file.substr(0, 3));
    EXPECT_EQ(package, path);
    EXPECT_EQ(file.substr(0, file.find('.')) + ".EXE", name);
    const Parsed p = Parse(package);
    EXPECT_EQ(c.kind, p.U16(kKind)) << c.media;
    EXPECT_EQ(ReadBytes(SampleMedia().front), p.Part(kPicture));
    EXPECT_EQ(c.kind == 2 ? ReadBytes(SampleMedia().clip) : Bytes(), p.Part(kVideo));
    EXPECT_EQ(ReadBytes(SampleMedia().sound), p.Part(kSound));
    EXPECT_GT(p.U32(kViewer1 + 4), 0u);
    EXPECT_EQ(0, p.U8(kCompressed));
    EXPECT_EQ(kAddress, p.Text(kLinkAddress, 128));
    EXPECT_EQ(std::vector<std::string>{file}, List(tmp));
    DeleteFileA(package.c_str());
  }
}

TEST_F(AttachmentTest, NoTemporaryFolderMeansNoAttachmentAndNoLeftovers) {
  quillo::CardPackageRequest request;
  request.frontPicture = RenderedFront();
  request.mediaFile = SampleMedia().front;
  SetEnvironmentVariableA("TMP", (tmp + "missing\\").c_str());
  char path[MAX_PATH] = "untouched", name[MAX_PATH] = "untouched";
  MapiFileDesc desc = {};
  desc.lpszPathName = path;
  desc.lpszFileName = name;
  EXPECT_EQ("", quillo::BuildPackageFromFront(request, &desc));
  EXPECT_STREQ("untouched", path);
  EXPECT_FALSE(Exists(request.frontPicture));
  EXPECT_TRUE(List(tmp).empty());
}

TEST(AttachmentDescTest, NamesNeedBothBuffers) {
  char path[MAX_PATH] = "p", name[MAX_PATH] = "n";
  MapiFileDesc onlyPath = {};
  onlyPath.lpszPathName = path;
  quillo::FillAttachmentDesc(&onlyPath, "C:\\temp\\NXN1A.tmp", ".JPG");
  EXPECT_STREQ("p", path);
  quillo::FillAttachmentDesc(NULL, "C:\\temp\\NXN1A.tmp", ".JPG");
  MapiFileDesc both = {};
  both.lpszPathName = path;
  both.lpszFileName = name;
  quillo::FillAttachmentDesc(&both, "C:\\temp\\NXN1A.tmp", ".JPG");
  EXPECT_STREQ("C:\\temp\\NXN1A.tmp", path);
  EXPECT_STREQ("NXN1A.JPG", name);
}

}  // namespace
