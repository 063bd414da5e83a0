// Message boxes: scripted answers in order, default buttons for unanswered boxes, the console.
#include "platform/msgbox.h"

#include <gtest/gtest.h>

using namespace plat;

namespace {

class MessageBoxes : public ::testing::Test {
 protected:
  void SetUp() override {
    scripted::reset();
    setConsoleSink([this](std::wstring_view text) { console += text; });
  }
  void TearDown() override {
    setConsoleSink(nullptr);
    scripted::reset();
  }
  std::wstring console;
};

}  // namespace

TEST_F(MessageBoxes, ScriptedAnswersAreTakenInOrder) {
  scripted::answerNextMessageBox(IDNO);
  scripted::answerNextMessageBox(IDCANCEL);
  EXPECT_EQ(messageBox(nullptr, L"儲存?", L"KORA CAD訊息", MB_YESNOCANCEL), IDNO);
  EXPECT_EQ(messageBox(nullptr, L"again", L"KORA CAD訊息", MB_YESNOCANCEL), IDCANCEL);
  EXPECT_EQ(console, L"");
  ASSERT_EQ(scripted::shownMessageBoxes().size(), 2u);
  EXPECT_EQ(scripted::shownMessageBoxes()[0].text, L"儲存?");
  EXPECT_EQ(scripted::shownMessageBoxes()[1].answer, IDCANCEL);
}

TEST_F(MessageBoxes, UnansweredBoxPrintsAndTakesTheDefaultButton) {
  struct Case {
    unsigned flags;
    int answer;
  } cases[] = {
      {MB_OK, IDOK},
      {MB_OK | MB_DEFBUTTON2, IDOK},
      {MB_OKCANCEL | MB_ICONQUESTION, IDOK},
      {MB_YESNO | MB_DEFBUTTON2, IDNO},
      {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
      {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY},
      {MB_RETRYCANCEL | MB_DEFBUTTON3, IDRETRY},
  };
  for (const auto& c : cases) EXPECT_EQ(messageBox(nullptr, L"text", L"cap", c.flags), c.answer) << c.flags;
  messageBox(nullptr, L"找不到檔案", L"KORA CAD", MB_OK | MB_TOPMOST);
  EXPECT_NE(console.find(L"KORA CAD: 找不到檔案\n"), std::wstring::npos);
}
