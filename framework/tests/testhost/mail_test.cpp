// Sending a component document by mail through the test host: the framework's mail sending hands the
// document's temporary copy to the mail client (the recording mail client, through Wine's mapi32), the
// document keeps its own path and state, the copy goes afterwards; a document with changes goes as a copy the
// sending writes for the message; a failing client is told, a cancelled mail is not.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include "fwtest_classes.h"
#include "host_app.h"
#include "mail_record.h"
#include "recorder_client.h"
#include <mapi.h>

namespace fwtest {
namespace {

const char kMailSection[] = "MAIL";
const char kMailSwitch[] = "MAPI";
const char kAbsent[] = "<absent>";

// The recorder is the default mail client and mail is switched on in WIN.INI for the whole run, before
// anything loads MAPI32; both are put back at the end.
class MailClientEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    m_client.reset(new mailrecord::RecorderAsDefaultClient);
    ASSERT_TRUE(m_client->ok());
    GetProfileStringA(kMailSection, kMailSwitch, kAbsent, m_previousSwitch, sizeof m_previousSwitch);
    WriteProfileStringA(kMailSection, kMailSwitch, "1");
  }
  void TearDown() override {
    WriteProfileStringA(kMailSection, kMailSwitch, lstrcmpA(m_previousSwitch, kAbsent) == 0 ? NULL : m_previousSwitch);
    m_client.reset();
  }

 private:
  std::unique_ptr<mailrecord::RecorderAsDefaultClient> m_client;
  char m_previousSwitch[64] = "";
};
testing::Environment* const g_mailClient = testing::AddGlobalTestEnvironment(new MailClientEnvironment);

TEST_F(HostTest, SendByMailHandsTheDocumentsCopyToTheMailClientAndLeavesTheDocumentAsItWas) {
  HostedComponent a(CLSID_FwTestA);
  ASSERT_TRUE(a.Load());
  CDocument* doc = a.Open();
  ASSERT_NE(nullptr, doc);
  const CString folder = TempFolder() + "fwtest mail";
  CreateDirectoryA(folder, NULL);
  const CString picture = folder + "\\beach.png";
  ASSERT_TRUE(WriteBytes(picture, "\x89PNG", 4));
  doc->SetPathName(picture, FALSE);
  doc->SetModifiedFlag(TRUE);
  const CString record = folder + "\\mail.txt";
  const CString attachments = folder + "\\received";
  CreateDirectoryA(attachments, NULL);
  SetEnvironmentVariableA(mailrecord::kRecordPathVariable, record);
  SetEnvironmentVariableA(mailrecord::kAttachmentFolderVariable, attachments);

  s_frame->SendMessage(WM_COMMAND, ID_NX_SENDMAIL);
  PumpHost();
  std::vector<mailrecord::Call> mails = mailrecord::CallsOf(mailrecord::ReadRecord(LPCSTR(record)), "MAPISendMail");
  ASSERT_EQ(1u, mails.size());
  const CString copy = TempFolder() + "beach.png";
  EXPECT_EQ(1u, mails[0].Number(mailrecord::kFileCount));
  EXPECT_EQ(0, CString(mails[0].Text(mailrecord::kFilePath).value_or("").c_str()).CompareNoCase(copy));
  EXPECT_EQ("beach.png", mails[0].Text(mailrecord::kFileName).value_or(""));
  EXPECT_EQ(DWORD(MAPI_LOGON_UI | MAPI_DIALOG), mails[0].Number(mailrecord::kFlags));
  // The client read the picture itself; the copy went afterwards, the document kept its path and changes.
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(attachments + "\\beach.png"));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(copy));
  EXPECT_STREQ(picture, doc->GetPathName());
  EXPECT_TRUE(doc->IsModified());
  EXPECT_TRUE(theHostApp.m_boxes.empty());

  // The framework's own sending of a changed document: a copy written for the message, named by the title.
  DeleteFileA(record);
  CDocument* fresh = a.Open();
  ASSERT_NE(nullptr, fresh);
  fresh->SetModifiedFlag(TRUE);
  fresh->OnFileSendMail();
  mails = mailrecord::CallsOf(mailrecord::ReadRecord(LPCSTR(record)), "MAPISendMail");
  ASSERT_EQ(1u, mails.size());
  CString written2(mails[0].Text(mailrecord::kFilePath).value_or("").c_str());
  EXPECT_EQ(0, written2.Left(TempFolder().GetLength()).CompareNoCase(TempFolder()));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(written2));
  EXPECT_EQ(std::string(fresh->GetTitle()), mails[0].Text(mailrecord::kFileName).value_or(""));
  EXPECT_TRUE(fresh->IsModified());

  // A client that fails is told about; one the user cancelled is not.
  struct Case {
    const char* result;
    size_t boxes;
  } cases[] = {{"2", 1}, {"1", 0}};  // MAPI_E_FAILURE, MAPI_USER_ABORT
  for (const Case& c : cases) {
    theHostApp.m_boxes.clear();
    SetEnvironmentVariableA(mailrecord::kResultVariable, c.result);
    FrameOf(doc)->SendMessage(WM_COMMAND, ID_NX_SENDMAIL);
    EXPECT_EQ(c.boxes, theHostApp.m_boxes.size()) << c.result;
  }
  SetEnvironmentVariableA(mailrecord::kResultVariable, NULL);
  SetEnvironmentVariableA(mailrecord::kRecordPathVariable, NULL);
  SetEnvironmentVariableA(mailrecord::kAttachmentFolderVariable, NULL);
  theHostApp.m_boxes.clear();
  DeleteFileA(attachments + "\\beach.png");
  RemoveDirectoryA(attachments);
  DeleteFileA(record);
  DeleteFileA(picture);
  RemoveDirectoryA(folder);
}

}  // namespace
}  // namespace fwtest
