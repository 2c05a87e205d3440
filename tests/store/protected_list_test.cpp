#include "store/protected_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "store/data_file_names.h"
#include "store/ini_rewrite.h"
#include "store/utf16.h"

namespace folvane {
namespace {

class ProtectedListTest : public testing::Test {
 protected:
  void Seed(const std::string& content) {
    ASSERT_TRUE(platform.replaceFile(DataFilePath(platform), content));
  }
  std::string FileBytes() { return platform.fileBytes(DataFilePath(platform)).value_or("<none>"); }
  std::vector<std::string> Entries() {
    return IniReadSectionEntries(platform, kSectionPasswordSetData, DataFilePath(platform));
  }
  std::string PassCount() {
    return IniRead(platform, kSectionPasswordNumber, kKeyPassCount, "<none>",
                   DataFilePath(platform));
  }

  FakePlatform platform;
};

TEST_F(ProtectedListTest, FirstAddCreatesTheListWithItsCount) {
  EXPECT_EQ(AddProtectedFolder(platform, "Report", "116117118").result, AddResult::Added);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"Report=116117118"}));
  EXPECT_EQ(PassCount(), "1");
  // The entry is written before the count, so the list's section comes first in a new file.
  const std::string bytes = FileBytes();
  EXPECT_LT(bytes.find("[PasswordSetData]"), bytes.find("[PasswordNumber]"));
}

TEST_F(ProtectedListTest, CountFollowsTheEntriesThroughAddsReplacementsAndRemovals) {
  struct Step {
    bool add;
    std::string key;
    std::string code;
    std::vector<std::string> entries;
  };
  const std::vector<Step> steps = {
      {true, "Docs", "100", {"Docs=100"}},
      {true, "Music", "101", {"Docs=100", "Music=101"}},
      {true, "C:\\", "102", {"Docs=100", "Music=101", "C:\\=102"}},
      // A known key keeps its place; keys match regardless of ASCII case.
      {true, "DOCS", "200", {"Docs=200", "Music=101", "C:\\=102"}},
      {false, "Music", "", {"Docs=200", "C:\\=102"}},
      {false, "docs", "", {"C:\\=102"}},
      {false, "C:\\", "", {}},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE((step.add ? "add " : "remove ") + step.key);
    if (step.add) {
      AddProtectedFolder(platform, step.key, step.code);
    } else {
      EXPECT_EQ(RemoveProtectedFolder(platform, step.key).result, RemoveResult::Removed);
    }
    EXPECT_EQ(Entries(), step.entries);
    EXPECT_EQ(PassCount(), std::to_string(step.entries.size()));
  }
}

TEST_F(ProtectedListTest, AddReportsWhetherTheKeyWasNew) {
  // A key stored with an empty value (edited by hand) is listed and counted all the same.
  Seed("[PasswordSetData]\r\nDocs=100\r\nMusic=\r\n[PasswordNumber]\r\nPassCount=2\r\n");
  EXPECT_EQ(AddProtectedFolder(platform, "Docs", "300").result, AddResult::Replaced);
  EXPECT_EQ(AddProtectedFolder(platform, "Music", "301").result, AddResult::Replaced);
  EXPECT_EQ(PassCount(), "2");
  EXPECT_EQ(AddProtectedFolder(platform, "Report", "302").result, AddResult::Added);
  EXPECT_EQ(PassCount(), "3");
  EXPECT_EQ(Entries(), (std::vector<std::string>{"Docs=300", "Music=301", "Report=302"}));
}

// A line of the list without "=" (edited by hand) is shown as a row and counted: adding its key
// gives it a code, deleting its row removes it, and the count follows.
TEST_F(ProtectedListTest, ALineWithoutEqualsIsAnEntryLikeAnyOther) {
  const std::string content =
      "[PasswordSetData]\r\nDocs=100\r\nMusic\r\n[PasswordNumber]\r\nPassCount=2\r\n";
  Seed(content);
  ASSERT_EQ(ProtectedList::Read(platform, FileWait::NotAtAll).rows(),
            (std::vector<std::string>{"Docs", "Music"}));
  EXPECT_TRUE(
      ProtectedList::Read(platform, FileWait::NotAtAll).listed(ListKeyOf(platform, "Music")));
  EXPECT_EQ(AddProtectedFolder(platform, "music", "301").result, AddResult::Replaced);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"Docs=100", "Music=301"}));
  EXPECT_EQ(PassCount(), "2");

  Seed(content);
  EXPECT_EQ(RemoveProtectedFolder(platform, "Music").result, RemoveResult::Removed);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"Docs=100"}));
  EXPECT_EQ(PassCount(), "1");
}

// An editor's "Unicode" (UTF-16 with its byte-order mark): the list is read from it, and changes
// keep it UTF-16, every other line included.
TEST_F(ProtectedListTest, AListSavedAsUtf16StaysUtf16) {
  auto utf16 = [](const std::string& utf8) {
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : Utf8ToUtf16(utf8)) {
      bytes += static_cast<char>(unit & 0xFF);
      bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
  };
  Seed(utf16("; Café ā\r\n[PasswordSetData]\r\n営業=100\r\n[PasswordNumber]\r\nPassCount=1\r\n"));
  EXPECT_EQ(ProtectedList::Read(platform, FileWait::NotAtAll).rows(),
            std::vector<std::string>{"営業"});
  EXPECT_EQ(IniRead(platform, kSectionPasswordSetData, "営業", "", DataFilePath(platform)), "100");

  EXPECT_EQ(AddProtectedFolder(platform, "経理", "101").result, AddResult::Added);
  EXPECT_EQ(RemoveProtectedFolder(platform, "営業").result, RemoveResult::Removed);
  EXPECT_EQ(
      FileBytes(),
      utf16("; Café ā\r\n[PasswordSetData]\r\n経理=101\r\n[PasswordNumber]\r\nPassCount=1\r\n"));
}

// UTF-8 without a byte-order mark, as editors save text by default now: the Japanese names are
// read as the folders they name, and changes keep the file UTF-8 without a mark.
TEST_F(ProtectedListTest, AListSavedAsUtf8WithoutAMarkStaysSo) {
  Seed("; Café\r\n[PasswordSetData]\r\n営業=100\r\n[PasswordNumber]\r\nPassCount=1\r\n");
  EXPECT_EQ(ProtectedList::Read(platform, FileWait::NotAtAll).rows(),
            std::vector<std::string>{"営業"});
  EXPECT_EQ(ProtectedList::Read(platform, FileWait::NotAtAll).codeOf(ListKeyOf(platform, "営業")), "100");

  EXPECT_EQ(AddProtectedFolder(platform, "経理", "101").result, AddResult::Added);
  EXPECT_EQ(RemoveProtectedFolder(platform, "営業").result, RemoveResult::Removed);
  EXPECT_EQ(FileBytes(),
            "; Café\r\n[PasswordSetData]\r\n経理=101\r\n[PasswordNumber]\r\nPassCount=1\r\n");
}

// Without a PassCount line the entries are counted, and the next change writes the count.
TEST_F(ProtectedListTest, AMissingCountCountsTheEntriesAndTheNextChangeWritesIt) {
  const std::string cut = "[PasswordSetData]\r\nDocs=100\r\nMusic=101\r\n";
  Seed(cut);
  const ProtectedList list = ProtectedList::Read(platform, FileWait::NotAtAll);
  EXPECT_FALSE(list.countStored());
  EXPECT_EQ(list.count(), 2);
  EXPECT_EQ(list.codeOf(ListKeyOf(platform, "Docs")), "100");

  EXPECT_EQ(AddProtectedFolder(platform, "Docs", "102").result, AddResult::Replaced);
  EXPECT_EQ(PassCount(), "2");
  Seed(cut);
  EXPECT_EQ(RemoveProtectedFolder(platform, "Music").result, RemoveResult::Removed);
  EXPECT_EQ(PassCount(), "1");
}

TEST_F(ProtectedListTest, AnUnusableCountLeavesTheFileAsItWas) {
  for (const std::string count : {"abc", "", "2x", "-1", "40000"}) {
    SCOPED_TRACE("PassCount=" + count);
    const std::string content =
        "[PasswordSetData]\r\nDocs=100\r\n[PasswordNumber]\r\nPassCount=" + count + "\r\n";
    Seed(content);
    EXPECT_EQ(AddProtectedFolder(platform, "Report", "116117118").result, AddResult::BadCount);
    EXPECT_EQ(FileBytes(), content);
    EXPECT_EQ(RemoveProtectedFolder(platform, "Docs").result, RemoveResult::BadCount);
    EXPECT_EQ(FileBytes(), content);
  }
}

// A count that is a number but not the number of entries (an edit by hand, or a change whose
// file could not be put back) is mended by the next change: afterwards it tells the entries.
TEST_F(ProtectedListTest, TheNextChangeMendsACountThatDisagreesWithTheEntries) {
  enum class Op { AddNew, AddKnown, Remove };
  const struct {
    const char* count;
    Op op;
    const char* countAfter;
  } cases[] = {
      {"0", Op::AddNew, "3"},   {"0", Op::AddKnown, "2"}, {"0", Op::Remove, "1"},
      {"5", Op::AddNew, "3"},   {"5", Op::AddKnown, "2"}, {"5", Op::Remove, "1"},
      {"1", Op::AddKnown, "2"}, {"2", Op::AddKnown, "2"}, {"32767", Op::AddNew, "3"},
      {" 0 ", Op::Remove, "1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "PassCount=" << c.count << ", op " << int(c.op));
    Seed(std::string(
             "[PasswordSetData]\r\nDocs=100\r\nMusic=101\r\n[PasswordNumber]\r\nPassCount=") +
         c.count + "\r\n");
    switch (c.op) {
      case Op::AddNew:
        EXPECT_EQ(AddProtectedFolder(platform, "Report", "116").result, AddResult::Added);
        break;
      case Op::AddKnown:
        EXPECT_EQ(AddProtectedFolder(platform, "Music", "116").result, AddResult::Replaced);
        EXPECT_EQ(IniRead(platform, kSectionPasswordSetData, "Music", "", DataFilePath(platform)),
                  "116");
        break;
      case Op::Remove:
        EXPECT_EQ(RemoveProtectedFolder(platform, "Docs").result, RemoveResult::Removed);
        break;
    }
    EXPECT_EQ(PassCount(), c.countAfter);
  }
  // A count that already tells the entries is not written again when a code is replaced.
  const std::string content =
      "[PasswordSetData]\r\nDocs=100\r\n[PasswordNumber]\r\nPassCount= 1\r\n";
  Seed(content);
  platform.replaceFileCalls = 0;
  EXPECT_EQ(AddProtectedFolder(platform, "Docs", "100").result, AddResult::Replaced);
  EXPECT_EQ(platform.replaceFileCalls, 0);
  EXPECT_EQ(FileBytes(), content);
}

// A change is one replacement of the file, entry and count together; when it fails, the list
// comes out as it went in, whole, its count still telling the number of entries.
TEST_F(ProtectedListTest, AChangeReplacesTheFileOnceOrLeavesItWhole) {
  const std::string content =
      "[PasswordSetData]\r\nDocs=100\r\nMusic=101\r\n[PasswordNumber]\r\nPassCount=2\r\n";
  const std::vector<std::string> entries = {"Docs=100", "Music=101"};
  enum class Op { AddNew, AddKnown, Remove };
  for (Op op : {Op::AddNew, Op::AddKnown, Op::Remove}) {
    SCOPED_TRACE(testing::Message() << "op " << int(op));
    for (bool fails : {false, true}) {
      Seed(content);
      platform.replaceFileCalls = 0;
      if (fails) platform.failingWrites = {1};
      switch (op) {
        case Op::AddNew:
          EXPECT_EQ(AddProtectedFolder(platform, "Report", "116").result,
                    fails ? AddResult::WriteFailed : AddResult::Added);
          break;
        case Op::AddKnown:
          EXPECT_EQ(AddProtectedFolder(platform, "Docs", "116").result,
                    fails ? AddResult::WriteFailed : AddResult::Replaced);
          break;
        case Op::Remove:
          EXPECT_EQ(RemoveProtectedFolder(platform, "Docs").result,
                    fails ? RemoveResult::WriteFailed : RemoveResult::Removed);
          break;
      }
      platform.failingWrites.clear();
      EXPECT_EQ(platform.replaceFileCalls, 1);
      if (fails) {
        EXPECT_EQ(FileBytes(), content);
      } else {
        EXPECT_EQ(PassCount(), std::to_string(Entries().size()));
      }
    }
  }
}

// A failed change leaves every line as it was, those of the same name (or of the name in other
// letter case) included.
TEST_F(ProtectedListTest, AFailedChangeLeavesLinesOfTheSameNameAlone) {
  for (const std::string second : {"Docs", "DOCS"}) {
    SCOPED_TRACE(second);
    const std::string content = "[PasswordSetData]\r\nDocs=100\r\n" + second +
                                "=101\r\nMusic\r\n[PasswordNumber]\r\nPassCount=3\r\n";
    for (const std::string& key : {second, std::string("Music")}) {
      Seed(content);
      platform.replaceFileCalls = 0;
      platform.failingWrites = {1};
      EXPECT_EQ(RemoveProtectedFolder(platform, key).result, RemoveResult::WriteFailed) << key;
      platform.failingWrites.clear();
      EXPECT_EQ(FileBytes(), content) << key;
    }
  }
}

// What a change gives back is the list as the file now holds it, so that nobody has to read the
// file again to show it; what a change that wrote nothing gives back is the list it read.
TEST_F(ProtectedListTest, AChangeGivesTheListTheFileNowHolds) {
  Seed("[PasswordSetData]\r\nDocs=100\r\n[PasswordNumber]\r\nPassCount=1\r\n");
  const ListChange<AddResult> added = AddProtectedFolder(platform, "Report", "116");
  EXPECT_EQ(added.list, ProtectedList::Read(platform, FileWait::NotAtAll));
  EXPECT_EQ(added.list.rows(), (std::vector<std::string>{"Docs", "Report"}));
  EXPECT_EQ(added.list.countText(), "2");

  platform.failingWrites = {platform.replaceFileCalls + 1};
  const ListChange<RemoveResult> failed = RemoveProtectedFolder(platform, "Docs");
  EXPECT_EQ(failed.result, RemoveResult::WriteFailed);
  EXPECT_EQ(failed.list, added.list);
}

// A comment line of the list is no entry: no row shows it, and removing or looking up its text
// as a key neither deletes it nor lowers the count (found by fuzzing).
TEST_F(ProtectedListTest, ACommentLineIsNoEntry) {
  const std::string content =
      "[PasswordSetData]\r\n\n; r\r\nDocs=100\r\n;Music=101\r\n[PasswordNumber]\r\nPassCount=1\r\n";
  Seed(content);
  EXPECT_EQ(ProtectedList::Read(platform, FileWait::NotAtAll).rows(),
            std::vector<std::string>{"Docs"});
  // Every blank the file's lines are trimmed of counts in front of the ";" as well.
  for (const std::string key :
       {"; r", ";Music", " ;Music", "\t; r", "\v; r", "\f;Music", "\x1a;Music", ";Music "}) {
    SCOPED_TRACE(testing::PrintToString(key));
    Seed(content);
    const ProtectedList list = ProtectedList::Read(platform, FileWait::NotAtAll);
    EXPECT_FALSE(list.listed(ListKeyOf(platform, key)));
    EXPECT_EQ(list.codeOf(ListKeyOf(platform, key)), "");
    EXPECT_EQ(RemoveProtectedFolder(platform, key).result, RemoveResult::NotListed);
    EXPECT_EQ(FileBytes(), content);
  }
}

// The list is decoded once, and looked up in the program's encoding: every lookup must find what
// a read of the file by the engine finds, the engine being the file's reference reader.
TEST_F(ProtectedListTest, ALookupFindsWhatAReadOfTheFileFinds) {
  Seed(
      platform.toAnsi("[PasswordSetData]\r\nDocs=100\r\nDOCS=101\r\nア=102\r\nｱ=103\r\n表=104\r\n"
                      "C:\\=105\r\n?=106\r\nQuoted=\"107\"\r\nBare\r\nEmpty=\r\n"
                      "[PasswordNumber]\r\nPassCount=10\r\n"));
  const ProtectedList list = ProtectedList::Read(platform, FileWait::NotAtAll);
  // "ヂ" differs from "ア" only by its second byte, "a" for "A" in the code page.
  for (const std::string query :
       {"Docs", "docs", "DOCS", "ア", "ヂ", "ｱ", "ｧ", "表", "C:\\", "c:\\", "?", "한", " Docs ",
        "\tDocs", "Quoted", "Bare", "Empty", "Music", ""}) {
    SCOPED_TRACE(query);
    EXPECT_EQ(list.codeOf(ListKeyOf(platform, query)),
              IniRead(platform, kSectionPasswordSetData, query, "", DataFilePath(platform)));
    EXPECT_EQ(list.listed(ListKeyOf(platform, query)),
              IniHasKey(platform, kSectionPasswordSetData, query, DataFilePath(platform)));
  }
}

TEST_F(ProtectedListTest, RemovingAKeyTheFileNoLongerHoldsChangesNothing) {
  const std::string content =
      "[PasswordSetData]\r\nDocs=100\r\n[PasswordNumber]\r\nPassCount=1\r\n";
  Seed(content);
  EXPECT_EQ(RemoveProtectedFolder(platform, "Music").result, RemoveResult::NotListed);
  EXPECT_EQ(FileBytes(), content);
}

TEST_F(ProtectedListTest, AStorableKeyIsListedBackExactly) {
  const std::vector<std::string> storable = {"Report", "C:\\", "old)",      "書類",
                                             "ﾃﾞｰﾀ",   "a,b",  "two words", "x]"};
  for (const std::string& key : storable) {
    SCOPED_TRACE(key);
    EXPECT_TRUE(FolderKeyStorable(key));
  }
  for (const std::string& key : storable) AddProtectedFolder(platform, key, "100");
  EXPECT_EQ(ProtectedList::Read(platform, FileWait::NotAtAll).rows(), storable);
}

TEST_F(ProtectedListTest, KeysTheFileCannotHoldAreRecognised) {
  for (const std::string key : {"", "a=b", "=", "[Section]", ";note", " lead", "trail ", "tab\t",
                                "line\nbreak", "\vtab", "feed\f", "end\x1a"}) {
    SCOPED_TRACE(key);
    EXPECT_FALSE(FolderKeyStorable(key));
  }
}

}  // namespace
}  // namespace folvane
