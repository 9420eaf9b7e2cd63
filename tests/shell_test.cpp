// The menu bar and the file-type set.

#include <gtest/gtest.h>

#include <optional>

#include "app/file_types.h"
#include "app/menubar1.h"
#include "framework/filetype.h"
#include "framework/runtime.h"
#include "allocation_probe.h"

namespace karuta {
namespace {

struct ExpectedItem {
  const char* name;
  const char* kind;
  const char* text;
  std::optional<const char*> shortcut;
  int64_t children;
};

// Depth first, in the order the bar is built.
const ExpectedItem kMenuTree[] = {
    {"UntitledMenu1", "item", "", "", 0},       {"FileMenu", "item", "ファイル(&F)", "", 2},
    {"FileQuit", "quit", "終了(&X)", "Cmd+Q", 0}, {"UntitledMenu5", "item", "", "", 0},
    {"EditMenu", "item", "編集(&E)", "", 8},      {"EditUndo", "item", "取り消し", "Cmd+Z", 0},
    {"UntitledMenu0", "item", "-", std::nullopt, 0}, {"EditCut", "item", "カット", "Cmd+X", 0},
    {"EditCopy", "item", "コピー", "Cmd+C", 0},   {"EditPaste", "item", "貼り付け", "Cmd+V", 0},
    {"EditClear", "item", "クリア", "", 0},       {"UntitledMenu4", "item", "", "", 0},
    {"UntitledMenu3", "apple", "", "", 0},        {"UntitledMenu2", "item", "", "", 0},
};

const char* KindOf(const fw::MenuItem& item) {
  if (dynamic_cast<const fw::QuitMenuItem*>(&item)) return "quit";
  if (dynamic_cast<const fw::AppleMenuItem*>(&item)) return "apple";
  return "item";
}

void Flatten(const fw::MenuItem& parent, std::vector<fw::Ref<fw::MenuItem>>& out) {
  for (int64_t i = 0; i < parent.Count(); ++i) {
    out.push_back(parent.Item(i));
    Flatten(*out.back(), out);
  }
}

class MenuBarTest : public ::testing::Test {
 protected:
  void SetUp() override { MenuBar1::_implicitInstance.reset(); }
  void TearDown() override { MenuBar1::_implicitInstance.reset(); }
};

TEST_F(MenuBarTest, BuildsOnceAndHandsOutTheSameBar) {
  auto first = MenuBar1();
  auto second = MenuBar1();
  EXPECT_EQ(first, second);
  EXPECT_EQ(first->Count(), 4);
}

TEST_F(MenuBarTest, HoldsTheFourteenItemsInTableOrder) {
  std::vector<fw::Ref<fw::MenuItem>> items;
  Flatten(*MenuBar1(), items);
  ASSERT_EQ(items.size(), std::size(kMenuTree));
  for (size_t i = 0; i < items.size(); ++i) {
    const ExpectedItem& expected = kMenuTree[i];
    const fw::MenuItem& item = *items[i];
    SCOPED_TRACE(expected.name);
    EXPECT_EQ(item.Name(), expected.name);
    EXPECT_STREQ(KindOf(item), expected.kind);
    EXPECT_EQ(item.Text(), expected.text);
    EXPECT_EQ(item.HasShortcut(), expected.shortcut.has_value());
    if (expected.shortcut) {
      EXPECT_EQ(item.Shortcut(), *expected.shortcut);
    }
    EXPECT_EQ(item.Count(), expected.children);
    EXPECT_TRUE(item.AutoEnabled());
    EXPECT_TRUE(item.Visible());
  }
  EXPECT_EQ(MenuBar1()->Lookup("EditClear"), items[10]);
  EXPECT_FALSE(MenuBar1()->Child("EditClear")) << "Child looks at the top level only";
}

// Building fails at each of its allocations in turn: nothing is stored and
// nothing is kept, and the next request builds the whole bar afresh.
TEST_F(MenuBarTest, AFailedBuildIsNotKeptAndTheNextRequestBuildsAFreshBar) {
  long allocations = 0;
  {
    testing::AllocationProbe probe;
    MenuBar1();
    allocations = probe.Count();
  }
  ASSERT_GT(allocations, static_cast<long>(std::size(kMenuTree))) << "the bar and each item are allocated";
  MenuBar1::_implicitInstance.reset();

  for (long failAt = 1; failAt <= allocations; ++failAt) {
    SCOPED_TRACE("allocation " + std::to_string(failAt) + " of " + std::to_string(allocations) + " fails");
    {
      testing::AllocationProbe probe(failAt);
      EXPECT_THROW(MenuBar1(), std::bad_alloc);
      EXPECT_FALSE(MenuBar1::_implicitInstance) << "a partly built bar was stored";
      EXPECT_EQ(probe.Live().size(), 0u) << "the partly built bar or some of its items are still held";
    }
    std::vector<fw::Ref<fw::MenuItem>> items;
    Flatten(*MenuBar1(), items);
    EXPECT_EQ(items.size(), std::size(kMenuTree)) << "the next request did not build the whole bar";
    MenuBar1::_implicitInstance.reset();
    if (HasFailure()) break;
  }
}

class FileTypesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fw::RuntimeInit();
    FileTypes::pText.reset();
    FileTypes::pAllFileTypes.clear();
  }
  void TearDown() override {
    FileTypes::pText.reset();
    FileTypes::pAllFileTypes.clear();
  }
};

TEST_F(FileTypesTest, InitializeBuildsAndRegistersTheTextTypeOnce) {
  FileTypes::Initialize();

  ASSERT_EQ(FileTypes::pAllFileTypes.size(), 1u);
  EXPECT_EQ(FileTypes::pAllFileTypes[0], FileTypes::Text());
  const fw::FileType& type = *FileTypes::Text();
  EXPECT_EQ(type.Name(), "text");
  EXPECT_EQ(type.MacType(), "TEXT");
  EXPECT_EQ(type.MacCreator(), "R*er");
  EXPECT_EQ(type.Extensions(), "");
  EXPECT_EQ(type.MimeType(), "");
  EXPECT_EQ(type.ConformsTo(), "");
  EXPECT_EQ(type.UTI(), "");
  EXPECT_TRUE(type.Imported());
  ASSERT_EQ(fw::RegisteredFileTypes().size(), 1u);
  EXPECT_EQ(fw::RegisteredFileTypes()[0].creator, "R*er");

  EXPECT_EQ(FileTypes::Text()->Operator_Convert(), "text");
  EXPECT_EQ(fw::RegisteredFileTypes().size(), 1u) << "a second conversion registers nothing new";
}

TEST_F(FileTypesTest, ChangingARegisteredTypeWithdrawsItsRegistration) {
  fw::FileType type;
  type.Name("text");
  type.Operator_Convert();
  ASSERT_TRUE(type.IsRegistered());
  type.MimeType("text/plain");
  EXPECT_FALSE(type.IsRegistered());
  EXPECT_TRUE(fw::RegisteredFileTypes().empty());
}

}  // namespace
}  // namespace karuta
