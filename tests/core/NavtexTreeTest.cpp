// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstring>

#include "acquisition/AcquisitionState.h"
#include "common/DateTime.h"
#include "common/Windows1252.h"
#include "navtex/UnitNavtex.h"
#include "platform/Files.h"
#include "receiver/StateFiles.h"
#include "support/TempFolder.h"

using testing_support::TempFolder;

namespace {

using platform::LocalDateTime;

// The tree control as a list of nodes; selecting reports back at once, like the real one.
class FakeTreeView : public navtex::INavtexTreeView {
public:
    struct Node {
        int parent;
        std::string text;
        bool bold = false;
        bool expanded = false;
        std::vector<int> children;
    };
    std::vector<Node> nodes;
    std::vector<int> roots;
    int selected = -1;
    std::vector<int> selections;
    std::string memo;
    int scrolledToTop = 0;
    navtex::TNavtexTree* tree = nullptr;

    void ClearTree() override {
        nodes.clear();
        roots.clear();
        selected = -1;
    }
    void AddNode(int node, int parent, const std::string& text) override {
        ASSERT_EQ(node, static_cast<int>(nodes.size()));
        nodes.push_back({parent, text, false, false, {}});
        (parent < 0 ? roots : nodes[static_cast<size_t>(parent)].children).push_back(node);
    }
    void SetNodeBold(int node, bool bold) override { nodes.at(static_cast<size_t>(node)).bold = bold; }
    bool NodeExpanded(int node) const override { return nodes.at(static_cast<size_t>(node)).expanded; }
    void SetNodeExpanded(int node, bool expanded) override {
        nodes.at(static_cast<size_t>(node)).expanded = expanded;
    }
    void SetSubtreeExpanded(int node, bool expanded) override {
        nodes.at(static_cast<size_t>(node)).expanded = expanded;
        for (int child : nodes[static_cast<size_t>(node)].children) SetSubtreeExpanded(child, expanded);
    }
    void ScrollTreeToTop() override { ++scrolledToTop; }
    void SelectNode(int node) override {
        selected = node;
        selections.push_back(node);
        tree->SelectionChanged(node);
    }
    void SetMemoText(const std::string& text) override { memo = text; }

    // Texts of the messages under category c of root r, in tree order.
    std::vector<std::string> Messages(int r, int c) const {
        std::vector<std::string> texts;
        for (int child :
             nodes[static_cast<size_t>(nodes[static_cast<size_t>(roots.at(r))].children.at(c))].children)
            texts.push_back(nodes[static_cast<size_t>(child)].text);
        return texts;
    }
    int Find(int r, const std::string& text) const {
        for (int category : nodes[static_cast<size_t>(roots.at(r))].children)
            for (int child : nodes[static_cast<size_t>(category)].children)
                if (nodes[static_cast<size_t>(child)].text == text) return child;
        return -1;
    }
    size_t MessageCount() const { return nodes.size() - 22; }
};

class NavtexTreeTest : public ::testing::Test {
protected:
    NavtexTreeTest() { Init({}); }

    void Init(std::vector<std::string> arguments) {
        tree = std::make_unique<navtex::TNavtexTree>(view, marks, state, std::move(arguments));
        view.tree = tree.get();
        tree->SetArchiveRoot(temp.Path() + "/");
        temp.MakeFolder("INTERNAT");
        temp.MakeFolder("NATIONAL");
    }

    void Message(const std::string& band, const std::string& name, const LocalDateTime& when,
                 const std::string& text = "TEXT\r\n") {
        const std::string path = temp / (band + "/" + name);
        temp.WriteFile(band + "/" + name, text);
        ASSERT_TRUE(platform::SetFileTimes(path, when, when, when));
    }

    void SetThirdRecent(const char* id) {
        std::memset(state.SystemData.RecentMessageIds() + 8, 0, 4);
        std::memcpy(state.SystemData.RecentMessageIds() + 8, id, std::strlen(id));
    }

    TempFolder temp;
    FakeTreeView view;
    TReadMarkList marks;
    TAcquisitionState state;
    std::unique_ptr<navtex::TNavtexTree> tree;
};

const LocalDateTime Dec6{2026, 12, 6, 12, 0, 0, 0};

}  // namespace

TEST(MessageLines, LineEndsControlCharactersAndLength) {
    using navtex::SplitMessageLines;
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitMessageLines("ZCZC FA12\r\nTEXT\r\nNNNN\r\n"), (V{"ZCZC FA12", "TEXT", "NNNN"}));
    EXPECT_EQ(SplitMessageLines("ONE\nTWO\nTHREE\n"), (V{"ONE TWO THREE "}));  // line feeds only
    EXPECT_EQ(SplitMessageLines("A\rB\r\n\r\nC"), (V{"A", "B", "", "C"}));
    EXPECT_EQ(SplitMessageLines("A\r\n\nB\r\r\n"), (V{"A", " B", ""}));  // only one LF is eaten
    EXPECT_EQ(SplitMessageLines("A\r\nB\x1A"
                                "C\r\nD"),
              (V{"A", "B"}));
    EXPECT_EQ(SplitMessageLines("\x1A"
                                "A"),
              V{});
    EXPECT_EQ(SplitMessageLines(""), V{});
    const std::string longLine(300000, 'x');
    EXPECT_EQ(SplitMessageLines(longLine + "\r\n"), V{longLine});
}

TEST(MessageText, Windows1252RoundTripsEveryByte) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    const std::string utf8 = text::Windows1252ToUtf8(all);
    EXPECT_EQ(text::Utf8ToWindows1252(utf8), all);
    EXPECT_EQ(text::Windows1252ToUtf8("\x80 \xE9\xB0"), "€ é°");
    EXPECT_EQ(text::Utf8ToWindows1252("Ω\xC3"), "??");  // not in the code page; cut short
}

TEST(MessageFilters, CollectedFromTheCommandLine) {
    using V = std::vector<std::string>;
    EXPECT_EQ(navtex::CollectFilters({"FORCE", "518FAXYZ", "490", "49", "5180", "x518FA"}),
              (V{"518FA", "490", "5180"}));
    V many(12, "490GB");
    EXPECT_EQ(navtex::CollectFilters(many).size(), 10u);
}

TEST_F(NavtexTreeTest, SkeletonHasTwoRootsWithTenCategoriesEach) {
    tree->Rebuild();
    ASSERT_EQ(view.roots.size(), 2u);
    EXPECT_EQ(view.nodes[static_cast<size_t>(view.roots[0])].text, "International (518 kHz)");
    EXPECT_EQ(view.nodes[static_cast<size_t>(view.roots[1])].text, "National (490 kHz)");
    for (int r = 0; r < 2; ++r) {
        const auto& categories = view.nodes[static_cast<size_t>(view.roots[r])].children;
        ASSERT_EQ(categories.size(), 10u);
        EXPECT_EQ(view.nodes[static_cast<size_t>(categories[0])].text, "Avertissements de navigation");
        EXPECT_EQ(view.nodes[static_cast<size_t>(categories[6])].text, "Messages d’aide à la navigation");
        EXPECT_EQ(view.nodes[static_cast<size_t>(categories[9])].text, "Messages restants");
        EXPECT_TRUE(view.nodes[static_cast<size_t>(view.roots[r])].expanded);
    }
    EXPECT_EQ(view.MessageCount(), 0u);
}

TEST_F(NavtexTreeTest, CategoriesBySubjectLetterAndEveryFileCounts) {
    for (const char* name : {"FA12.TXT", "FI05.TXT", "FG01.TXT", "FH01.TXT", "FJ01.TXT", "Fa01.TXT",
                             "FL03.TXT", "F.TXT", "desktop.ini", ".hidden"})
        Message("INTERNAT", name, Dec6);
    temp.MakeFolder("INTERNAT/SUB");
    Message("INTERNAT", "SUB/FB99.TXT", Dec6);
    tree->Rebuild();

    using V = std::vector<std::string>;
    EXPECT_EQ(view.Messages(0, 0), V{"FA12"});
    EXPECT_EQ(view.Messages(0, 6), (V{"FG01", "FH01", "FJ01"}));
    EXPECT_EQ(view.Messages(0, 8), V{"FL03"});
    // Ordinal order: '.' < 'F' < 'a' < 'd'.
    EXPECT_EQ(view.Messages(0, 9), (V{".hid", "F.TX", "FI05", "Fa01", "desk"}));
    EXPECT_EQ(view.MessageCount(), 10u);  // the sub-folder's file is not a message
}

TEST_F(NavtexTreeTest, DuplicatesKeepTheNewestAndBandsAreSeparate) {
    Message("INTERNAT", "FA12.TXT", {2026, 12, 6, 10, 0, 0, 0}, "OLD\r\n");
    Message("INTERNAT", "FA12_2.TXT", {2026, 12, 6, 11, 0, 0, 0}, "NEW\r\n");
    tree->Rebuild();
    ASSERT_EQ(tree->List518().size(), 1u);
    EXPECT_EQ(tree->List518()[0]->Lines, std::vector<std::string>{"NEW"});

    Message("INTERNAT", "FA12_3.TXT", {2026, 12, 6, 11, 0, 0, 0}, "TIE\r\n");
    Message("INTERNAT", "GB05.TXT", Dec6);
    Message("NATIONAL", "FA12.TXT", Dec6, "490\r\n");
    tree->Rebuild();
    ASSERT_EQ(tree->List518().size(), 2u);
    EXPECT_EQ(tree->List518()[0]->Name, "FA12");
    EXPECT_NE(tree->List518()[0]->Lines[0], "OLD");
    ASSERT_EQ(tree->List490().size(), 1u);
    EXPECT_GE(view.Find(0, "FA12"), 0);
    EXPECT_GE(view.Find(1, "FA12"), 0);
}

TEST(MessageDuplicates, OnePassKeepsTheFirstOfTheNewest) {
    TMsgList list;
    const auto add = [&](const char* name, int32_t age, const char* tag) {
        list.push_back(std::make_unique<TMsgHeaderElement>(TMsgHeaderElement{name, age, {tag}}));
    };
    add("FA12", 5, "a");
    add("GB05", 1, "b");
    add("FA12", 9, "c");
    add("FA12", 9, "d");
    add("FA12", 2, "e");
    add("AA01", -1, "f");
    navtex::SortAndRemoveDuplicates(list);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0]->Lines[0], "f");
    EXPECT_EQ(list[1]->Lines[0], "c");  // of the equal newest, the earlier one
    EXPECT_EQ(list[2]->Lines[0], "b");
}

TEST_F(NavtexTreeTest, AgeWindowOnPackedValues) {
    Message("INTERNAT", "AA01.TXT", Dec6);
    Message("INTERNAT", "AA02.TXT", {2026, 12, 3, 23, 40, 0, 0});  // exactly 172800 older
    Message("INTERNAT", "AA03.TXT", {2026, 12, 3, 23, 39, 58, 0});
    tree->Rebuild();
    EXPECT_EQ(view.Messages(0, 0), (std::vector<std::string>{"AA01", "AA02"}));

    TempFolder other;
    tree->SetArchiveRoot(other.Path() + "/");
    other.MakeFolder("INTERNAT");
    const auto put = [&](const char* name, const LocalDateTime& when) {
        other.WriteFile(std::string("INTERNAT/") + name, "X\r\n");
        platform::SetFileTimes(other / (std::string("INTERNAT/") + name), when, when, when);
    };
    put("AA01.TXT", {2026, 12, 1, 1, 0, 0, 0});
    put("AA02.TXT", {2026, 11, 30, 23, 0, 0, 0});  // a month back, yet a small packed distance
    put("AA03.TXT", {2026, 11, 29, 1, 0, 0, 0});   // 262144 on the packed values
    tree->Rebuild();
    EXPECT_EQ(view.Messages(0, 0), (std::vector<std::string>{"AA01", "AA02"}));
}

TEST_F(NavtexTreeTest, NationalMessagesAreMeasuredAgainstBothBands) {
    Message("INTERNAT", "FA12.TXT", Dec6);
    Message("NATIONAL", "AE07.TXT", {2026, 12, 2, 12, 0, 0, 0});
    Message("NATIONAL", "AA41.TXT", {2026, 12, 2, 13, 0, 0, 0});
    tree->Rebuild();
    EXPECT_TRUE(tree->List490().empty());
    EXPECT_EQ(tree->List518().size(), 1u);

    platform::RemoveFile(temp / "INTERNAT/FA12.TXT");
    tree->Rebuild();
    EXPECT_EQ(tree->List490().size(), 2u);  // alone, they are measured against themselves
}

TEST_F(NavtexTreeTest, UnreadableFilesAreSkippedAndTheRestShown) {
    Message("INTERNAT", "FA12.TXT", Dec6);
    Message("INTERNAT", "GB05.TXT", Dec6);
    // Where the system has them: a dangling link, a named pipe (must not hang), a file
    // this process may not read.
    if (testing_support::NoSpecialFilesReason().empty()) {
        ASSERT_TRUE(testing_support::MakeDanglingLink(temp / "INTERNAT/EE33.TXT", temp / "nowhere"));
        ASSERT_TRUE(testing_support::MakeNamedPipe(temp / "INTERNAT/EE34.TXT"));
    }
    if (!testing_support::ReadsEverything()) {
        Message("INTERNAT", "AL02.TXT", Dec6);
        testing_support::MakeUnreadable(temp / "INTERNAT/AL02.TXT");
    }
    tree->Rebuild();
    ASSERT_EQ(tree->List518().size(), 2u);
    EXPECT_EQ(tree->List518()[0]->Name, "FA12");
    EXPECT_EQ(tree->List518()[1]->Name, "GB05");
}

TEST_F(NavtexTreeTest, DevicesTemporariesAndHugeFilesAreNoMessages) {
    Message("INTERNAT", "FA12.TXT", Dec6);
    if (testing_support::NoSpecialFilesReason().empty()) {  // would be read without end
        ASSERT_TRUE(testing_support::MakeLinkToEndlessDevice(temp / "INTERNAT/EE33.TXT"));
    }
    Message("INTERNAT", ".GB05.TXT.zel2tmp-a15ttJ", Dec6);  // a transfer's temporary
    // 3 MB in one line: only the first MiB is read, and the file stays as it is.
    Message("NATIONAL", "AL02.TXT", Dec6, std::string(3 << 20, 'Z'));
    tree->Rebuild();
    ASSERT_EQ(tree->List518().size(), 1u);
    EXPECT_EQ(tree->List518()[0]->Name, "FA12");
    ASSERT_EQ(tree->List490().size(), 1u);
    size_t shown = 0;
    for (const std::string& line : tree->List490()[0]->Lines) shown += line.size();
    EXPECT_LE(shown, navtex::MaxMessageFileBytes);
    EXPECT_GT(shown, navtex::MaxMessageFileBytes / 2);
    EXPECT_EQ(testing_support::ReadText(temp / "NATIONAL/AL02.TXT").size(), size_t{3} << 20);
}

TEST_F(NavtexTreeTest, MissingFoldersGiveEmptyCategories) {
    tree->SetArchiveRoot(temp / "absent/");
    tree->Rebuild();
    EXPECT_EQ(view.nodes.size(), 22u);
    EXPECT_TRUE(view.nodes[0].expanded);
}

TEST_F(NavtexTreeTest, UnreadIsBoldUntilOpenedAlsoAfterARestart) {
    Message("INTERNAT", "FA12.TXT", Dec6, "ZCZC FA12\r\nLINE\r\nNNNN");
    Message("INTERNAT", "GB05.TXT", {2026, 12, 6, 12, 0, 1, 0});  // same two-second slot: same Age
    Message("INTERNAT", "EE33.TXT", {2026, 12, 6, 9, 0, 0, 0});
    tree->Rebuild();
    EXPECT_EQ(marks.size(), 2u);
    int fa12 = view.Find(0, "FA12");
    EXPECT_TRUE(view.nodes[static_cast<size_t>(fa12)].bold);
    EXPECT_TRUE(view.nodes[static_cast<size_t>(view.Find(0, "GB05"))].bold);

    view.SelectNode(fa12);
    EXPECT_FALSE(view.nodes[static_cast<size_t>(fa12)].bold);
    EXPECT_EQ(view.memo, "ZCZC FA12\r\nLINE\r\nNNNN\r\n");
    EXPECT_EQ(tree->ShownMessageName(), "FA12");
    view.SelectNode(fa12);
    EXPECT_EQ(marks.size(), 2u);

    tree->Rebuild();  // GB05 shares the mark, so it is read now too
    EXPECT_FALSE(view.nodes[static_cast<size_t>(view.Find(0, "GB05"))].bold);
    EXPECT_TRUE(view.nodes[static_cast<size_t>(view.Find(0, "EE33"))].bold);
    // Nothing selected by the rebuild: the memo keeps the last message.
    EXPECT_EQ(tree->ShownMessageName(), "FA12");

    ASSERT_TRUE(receiver::SaveLocalCopies(temp.Path() + "/", state, marks));
    struct NoChart : receiver::ILocalCopiesView {
        void FillChart(uint16_t, uint16_t) override {}
        void RebuildTree() override { rebuilt(); }
        std::function<void()> rebuilt;
    } restart;
    FakeTreeView view2;
    TReadMarkList marks2;
    navtex::TNavtexTree tree2(view2, marks2, state, {});
    view2.tree = &tree2;
    tree2.SetArchiveRoot(temp.Path() + "/");
    restart.rebuilt = [&] { tree2.Rebuild(); };
    receiver::LoadLocalCopies(temp.Path() + "/", state, marks2, restart);
    EXPECT_FALSE(view2.nodes[static_cast<size_t>(view2.Find(0, "FA12"))].bold);
    EXPECT_TRUE(view2.nodes[static_cast<size_t>(view2.Find(0, "EE33"))].bold);
}

TEST_F(NavtexTreeTest, RootsAndCategoriesSelectNothing) {
    Message("INTERNAT", "FA12.TXT", Dec6);
    tree->Rebuild();
    view.SelectNode(view.Find(0, "FA12"));
    const std::string memo = view.memo;
    view.nodes[1].expanded = true;
    view.SelectNode(view.roots[1]);
    view.SelectNode(1);
    EXPECT_EQ(view.memo, memo);
    EXPECT_EQ(tree->ShownMessageName(), "FA12");
    EXPECT_EQ(tree->ExpansionMemory()[1], 0);  // no save for a category
    EXPECT_TRUE(view.nodes[static_cast<size_t>(view.Find(0, "FA12"))].bold == false);
}

TEST_F(NavtexTreeTest, ExpansionMemoryAcrossRebuilds) {
    Message("INTERNAT", "FA12.TXT", Dec6);
    tree->ExpandAll();  // nothing built yet: no effect, no crash
    tree->Rebuild();
    tree->ExpandAll();
    tree->Rebuild();
    for (const auto& node : view.nodes)
        if (node.text != "FA12") {
            EXPECT_TRUE(node.expanded) << node.text;
        }

    view.nodes[static_cast<size_t>(view.roots[0])].expanded = false;  // by hand: not remembered
    view.nodes[1].expanded = false;
    tree->Rebuild();
    EXPECT_TRUE(view.nodes[static_cast<size_t>(view.roots[0])].expanded);
    EXPECT_TRUE(view.nodes[1].expanded);

    view.nodes[1].expanded = false;
    view.SelectNode(view.Find(0, "FA12"));  // a selection saves the states
    tree->Rebuild();
    EXPECT_FALSE(view.nodes[1].expanded);
    EXPECT_TRUE(view.nodes[2].expanded);

    tree->CollapseAll();
    EXPECT_TRUE(view.nodes[static_cast<size_t>(view.roots[0])].expanded);
    EXPECT_FALSE(view.nodes[2].expanded);
    tree->Rebuild();
    for (int r = 0; r < 2; ++r) {
        EXPECT_TRUE(view.nodes[static_cast<size_t>(view.roots[r])].expanded);
        for (int c : view.nodes[static_cast<size_t>(view.roots[r])].children)
            EXPECT_FALSE(view.nodes[static_cast<size_t>(c)].expanded);
    }
    EXPECT_GE(view.scrolledToTop, 5);
}

TEST_F(NavtexTreeTest, ShowLastMessageSelectsTheThirdRecentUnderBothRoots) {
    Message("INTERNAT", "FA12.TXT", Dec6, "518\r\n");
    Message("NATIONAL", "FA12.TXT", {2026, 12, 6, 11, 0, 0, 0}, "490\r\n");
    Message("INTERNAT", "GB05.TXT", Dec6);
    SetThirdRecent("FA12");
    tree->Rebuild();
    EXPECT_TRUE(view.selections.empty());  // the flag is off

    state.ShowLastMessage = 1;
    tree->Rebuild();
    ASSERT_EQ(view.selections.size(), 2u);
    EXPECT_EQ(view.selected, view.Find(1, "FA12"));
    EXPECT_EQ(view.memo, "490\r\n");
    EXPECT_FALSE(view.nodes[static_cast<size_t>(view.Find(0, "FA12"))].bold);
    EXPECT_FALSE(view.nodes[static_cast<size_t>(view.Find(1, "FA12"))].bold);
}

TEST_F(NavtexTreeTest, FilterArgumentsSelectOnlyTheirBand) {
    Message("INTERNAT", "FA12.TXT", Dec6, "518\r\n");
    Message("NATIONAL", "GA12.TXT", Dec6, "490\r\n");
    const auto selectedWith = [&](std::vector<std::string> args, const char* id) {
        Init(std::move(args));
        SetThirdRecent(id);
        view.selected = -1;
        view.memo.clear();
        tree->Rebuild();
        return view.memo;
    };
    EXPECT_EQ(selectedWith({"490FA"}, "FA12"), "");
    EXPECT_EQ(selectedWith({"518FA"}, "FA12"), "518\r\n");
    EXPECT_EQ(selectedWith({"518"}, "FA12"), "");
    EXPECT_EQ(selectedWith({"518FAXYZ"}, "FA12"), "518\r\n");
    EXPECT_EQ(tree->Filters(), std::vector<std::string>{"518FA"});
    EXPECT_EQ(selectedWith({"518GA"}, "GA12"), "");
    EXPECT_EQ(selectedWith({"518FB", "490GA"}, "GA12"), "490\r\n");
    EXPECT_EQ(selectedWith({"518FA"}, "FA13"), "");  // only the third recent identifier
}

TEST_F(NavtexTreeTest, RedOnlyForASelectedMessageNode) {
    Message("INTERNAT", "FA12.TXT", Dec6);
    tree->Rebuild();
    const int fa12 = view.Find(0, "FA12");
    EXPECT_TRUE(tree->DrawSelectedRed(fa12, true));
    EXPECT_FALSE(tree->DrawSelectedRed(fa12, false));
    EXPECT_FALSE(tree->DrawSelectedRed(view.roots[0], true));
    EXPECT_FALSE(tree->DrawSelectedRed(1, true));
    EXPECT_FALSE(tree->DrawSelectedRed(-1, true));
}
