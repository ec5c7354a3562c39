// SPDX-License-Identifier: GPL-3.0-or-later
#include "navtex/UnitNavtex.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "acquisition/AcquisitionState.h"
#include "common/DateTime.h"
#include "common/Translatable.h"
#include "platform/Files.h"

namespace navtex {

const char* const Root518Text = QT_TRANSLATE_NOOP("navtex", "International (518 kHz)");
const char* const Root490Text = QT_TRANSLATE_NOOP("navtex", "National (490 kHz)");
const char* const CategoryTexts[CategoryCount] = {
    QT_TRANSLATE_NOOP("navtex", "Avertissements de navigation"),
    QT_TRANSLATE_NOOP("navtex", "Avis météorologiques"),
    QT_TRANSLATE_NOOP("navtex", "Rapport sur la situation des glaces"),
    QT_TRANSLATE_NOOP("navtex", "Renseignements recherche/sauvetage"),
    QT_TRANSLATE_NOOP("navtex", "Prévisions météorologiques"),
    QT_TRANSLATE_NOOP("navtex", "Messages sur service de pilotage"),
    QT_TRANSLATE_NOOP("navtex", "Messages d’aide à la navigation"),
    QT_TRANSLATE_NOOP("navtex", "Autres messages"),
    QT_TRANSLATE_NOOP("navtex", "Avertissement supplémentaires"),
    QT_TRANSLATE_NOOP("navtex", "Messages restants"),
};

int CategoryOf(const std::string& name) {
    if (name.size() < 2) return 9;
    switch (name[1]) {
        case 'A':
            return 0;
        case 'B':
            return 1;
        case 'C':
            return 2;
        case 'D':
            return 3;
        case 'E':
            return 4;
        case 'F':
            return 5;
        case 'G':
        case 'H':
        case 'J':
            return 6;
        case 'K':
            return 7;
        case 'L':
            return 8;
        default:
            return 9;
    }
}

std::vector<std::string> SplitMessageLines(const std::string& bytes) {
    std::vector<std::string> lines;
    const size_t end = std::min(bytes.find('\x1A'), bytes.size());
    size_t at = 0;
    while (at < end) {
        size_t cr = bytes.find('\r', at);
        if (cr >= end) cr = end;
        std::string line = bytes.substr(at, cr - at);
        at = cr;
        if (at < end) {
            ++at;
            if (at < end && bytes[at] == '\n') ++at;
        }
        std::replace(line.begin(), line.end(), '\n', ' ');
        lines.push_back(std::move(line));
    }
    return lines;
}

TMsgList ReadMessageFolder(const std::string& folder, bool& found, std::vector<TArchiveFile>* files,
                           int band) {
    TMsgList list;
    found = false;
    if (folder.empty()) return list;
    for (const platform::FolderEntry& entry : platform::ListFolder(folder)) {
        // A transfer's temporary is not a message.
        if (entry.isFolder || platform::IsTemporaryName(entry.name)) continue;
        found = true;
        const std::string path = folder + entry.name;
        std::vector<uint8_t> bytes;
        platform::LocalDateTime written;
        bool timeKnown = false;
        // One unreadable file must not hide the others. NAVTEX messages are a few KB: of a
        // larger file only the start is shown, and the file stays as it is.
        if (!platform::ReadWholeFile(path, bytes, MaxMessageFileBytes, &written, &timeKnown)) continue;
        auto record = std::make_unique<TMsgHeaderElement>();
        std::string text(bytes.begin(), bytes.end());
        record->Lines = SplitMessageLines(text);
        record->Name = entry.name.substr(0, 4);
        record->Age = timeKnown ? datetime::PackFat(written) : -1;
        // The bytes go on as they are, not copied again.
        if (files)
            files->push_back(
                {band, record->Name, std::move(text), timeKnown ? platform::FromLocal(written) : -1});
        list.push_back(std::move(record));
    }
    return list;
}

void SortAndRemoveDuplicates(TMsgList& list) {
    std::stable_sort(list.begin(), list.end(), [](const auto& a, const auto& b) {
        return std::strcmp(a->Name.c_str(), b->Name.c_str()) < 0;
    });
    // Of each run of equal names the first record with the largest age survives, which is
    // what pairwise removal of the older neighbour (the second one on a tie) leaves.
    TMsgList kept;
    kept.reserve(list.size());
    for (auto& record : list) {
        if (!kept.empty() && std::strcmp(kept.back()->Name.c_str(), record->Name.c_str()) == 0) {
            if (kept.back()->Age < record->Age) kept.back() = std::move(record);
        } else {
            kept.push_back(std::move(record));
        }
    }
    list = std::move(kept);
}

namespace {

int32_t NewestAge(const TMsgList& list, int32_t newest) {
    for (const auto& record : list) newest = std::max(newest, record->Age);
    return newest;
}

void DropOlderThan(TMsgList& list, int32_t newest) {
    // The window is measured on the packed values and wraps like 32-bit arithmetic.
    std::erase_if(list, [newest](const auto& record) {
        const auto difference =
            static_cast<int32_t>(static_cast<uint32_t>(newest) - static_cast<uint32_t>(record->Age));
        return difference > AgeWindow;
    });
}

}  // namespace

void ApplyAgeWindow(TMsgList& list518, bool found518, TMsgList& list490, bool found490) {
    int32_t newest = 0;
    if (found518 && !list518.empty()) {
        newest = NewestAge(list518, list518.front()->Age);
        DropOlderThan(list518, newest);
    }
    if (found490) {
        newest = NewestAge(list490, newest);
        DropOlderThan(list490, newest);
    }
}

std::vector<std::string> CollectFilters(const std::vector<std::string>& arguments) {
    std::vector<std::string> filters;
    for (const std::string& argument : arguments) {
        if (filters.size() == MaxFilters) break;
        const std::string head = argument.substr(0, 3);
        if (head == "490" || head == "518") filters.push_back(argument.substr(0, 5));
    }
    return filters;
}

TNavtexTree::TNavtexTree(INavtexTreeView& view, TReadMarkList& readMarks, const TAcquisitionState& state,
                         std::vector<std::string> arguments)
    : view(view), readMarks(readMarks), state(state), arguments(std::move(arguments)) {}

int TNavtexTree::AddNode(int parent, const std::string& text, const TMsgHeaderElement* record, int band) {
    const int node = static_cast<int>(nodes.size());
    nodes.push_back({parent, record, band});
    view.AddNode(node, parent, text);
    return node;
}

void TNavtexTree::BuildSkeleton() {
    view.ClearTree();
    nodes.clear();
    for (const int band : Bands) {
        const int slot = BandSlot(band);
        roots[slot] = AddNode(-1, band == InternationalBand ? Root518Text : Root490Text, nullptr, band);
        for (int c = 0; c < CategoryCount; ++c) {
            categories[slot][c] = AddNode(roots[slot], CategoryTexts[c], nullptr, band);
            categoryMessages[slot][c].clear();
        }
    }
    expansion[0] = 1;
    expansion[CategoryCount + 1] = 1;
}

void TNavtexTree::Rebuild() {
    const auto folder = [&](const char* name) {
        return archiveRoot.empty() ? std::string() : platform::JoinPath(archiveRoot, name);
    };
    bool found518 = false, found490 = false;
    std::vector<TArchiveFile> files;
    std::vector<TArchiveFile>* seen = archiveSink ? &files : nullptr;
    TMsgList new518 = ReadMessageFolder(folder("INTERNAT\\"), found518, seen, 518);
    TMsgList new490 = ReadMessageFolder(folder("NATIONAL\\"), found490, seen, 490);
    if (archiveSink) archiveSink(std::move(files));
    if (found518) SortAndRemoveDuplicates(new518);
    if (found490) SortAndRemoveDuplicates(new490);
    ApplyAgeWindow(new518, found518, new490, found490);

    BuildSkeleton();
    // The old records go only now that no node refers to them.
    list518 = std::move(new518);
    list490 = std::move(new490);

    markIndex.clear();
    for (size_t i = 0; i < readMarks.size(); ++i) markIndex.try_emplace(readMarks[i].Age, i);
    AddMessages(list518, InternationalBand);
    AddMessages(list490, NationalBand);

    RestoreExpansionMemory();
    view.ScrollTreeToTop();
    selectedSinceRebuild = false;
    AutomaticSelection();
    if (!selectedSinceRebuild) KeepShownMessage();
}

void TNavtexTree::KeepShownMessage() {
    if (shownBand == 0) return;
    for (size_t node = 0; node < nodes.size(); ++node) {
        const Node& n = nodes[node];
        if (n.record && n.band == shownBand && n.record->Name == shownMessageName &&
            n.record->Age == shownAge) {
            view.SelectNode(static_cast<int>(node));
            return;
        }
    }
    // Gone from the archive: the memo keeps it, and the header says so.
    TMsgHeaderElement gone;
    gone.Name = shownMessageName;
    gone.Age = shownAge;
    view.SetMessageHeader(
        MessageHeader(gone, shownBand, true, stationNamer ? stationNamer(shownBand, gone) : ""));
}

void TNavtexTree::AddMessages(const TMsgList& list, int band) {
    for (const auto& record : list) {
        const int category = CategoryOf(record->Name);
        const int node = AddNode(categories[BandSlot(band)][category], record->Name, record.get(), band);
        categoryMessages[BandSlot(band)][category].push_back(node);
        ApplyReadMark(node, *record);
    }
}

void TNavtexTree::ApplyReadMark(int node, const TMsgHeaderElement& record) {
    const auto [it, added] = markIndex.try_emplace(record.Age, readMarks.size());
    if (added) {
        readMarks.push_back({record.Age, 1});
        view.SetNodeBold(node, true);
    } else {
        view.SetNodeBold(node, readMarks[it->second].Unread == 1);
    }
}

void TNavtexTree::RestoreExpansionMemory() {
    int flag = 0;
    for (int slot = 0; slot < BandCount; ++slot) {
        view.SetNodeExpanded(roots[slot], expansion[flag++] == 1);
        for (int c = 0; c < CategoryCount; ++c)
            view.SetNodeExpanded(categories[slot][c], expansion[flag++] == 1);
    }
}

void TNavtexTree::SaveExpansionMemory() {
    if (nodes.empty()) return;
    int flag = 0;
    for (int slot = 0; slot < BandCount; ++slot) {
        expansion[flag++] = view.NodeExpanded(roots[slot]) ? 1 : 0;
        for (int c = 0; c < CategoryCount; ++c)
            expansion[flag++] = view.NodeExpanded(categories[slot][c]) ? 1 : 0;
    }
}

void TNavtexTree::ExpandAll() {
    if (nodes.empty()) return;
    for (const int root : roots) view.SetSubtreeExpanded(root, true);
    SaveExpansionMemory();
    view.ScrollTreeToTop();
}

void TNavtexTree::CollapseAll() {
    if (nodes.empty()) return;
    for (const int root : roots) view.SetSubtreeExpanded(root, false);
    SaveExpansionMemory();
    for (int slot = 0; slot < BandCount; ++slot) {
        expansion[slot * (CategoryCount + 1)] = 1;
        view.SetNodeExpanded(roots[slot], true);
    }
}

void TNavtexTree::SelectionChanged(int node) {
    if (node < 0 || node >= static_cast<int>(nodes.size())) return;
    const TMsgHeaderElement* record = nodes[static_cast<size_t>(node)].record;
    if (!record) return;
    selectedSinceRebuild = true;
    SaveExpansionMemory();
    MarkRead(node, *record);
    ShowMessage(*record, nodes[static_cast<size_t>(node)].band);
}

void TNavtexTree::MarkRead(int node, const TMsgHeaderElement& record) {
    const auto mark = std::find_if(readMarks.begin(), readMarks.end(),
                                   [&](const TReadMark& m) { return m.Age == record.Age; });
    if (mark == readMarks.end()) return;
    mark->Unread = 0;
    view.SetNodeBold(node, false);
}

void TNavtexTree::ShowMessage(const TMsgHeaderElement& record, int band) {
    shownMessageName = record.Name;
    shownBand = band;
    shownAge = record.Age;
    view.SetMessageHeader(MessageHeader(record, band, false, stationNamer ? stationNamer(band, record) : ""));
    view.SetMemoText({});
    std::string text;
    for (const std::string& line : record.Lines) text += line + "\r\n";
    view.SetMemoText(text);
}

bool TNavtexTree::DrawSelectedRed(int node, bool selected) const {
    if (!selected || node < 0 || node >= static_cast<int>(nodes.size())) return false;
    const int parent = nodes[static_cast<size_t>(node)].parent;
    return parent >= 0 && nodes[static_cast<size_t>(parent)].parent >= 0;
}

std::vector<int> TNavtexTree::MessageNodesInTreeOrder() const {
    std::vector<int> order;
    for (int slot = 0; slot < BandCount; ++slot)
        for (int c = 0; c < CategoryCount; ++c)
            order.insert(order.end(), categoryMessages[slot][c].begin(), categoryMessages[slot][c].end());
    return order;
}

std::string TNavtexTree::ThirdRecentIdentifier() const {
    std::string id = state.SystemData.RecentMessageId(2);
    id.resize(std::strlen(id.c_str()));
    return id;
}

void TNavtexTree::AutomaticSelection() {
    const std::string identifier = ThirdRecentIdentifier();
    const std::vector<int> order = MessageNodesInTreeOrder();
    if (state.ShowLastMessage == 1) {
        for (int node : order)
            if (nodes[static_cast<size_t>(node)].record->Name == identifier) view.SelectNode(node);
    }

    filters = CollectFilters(arguments);
    if (filters.empty()) return;
    // Characters past a short filter's end read as the terminating zero, which no name has.
    const auto at = [](const std::string& s, size_t i) { return i < s.size() ? s[i] : '\0'; };
    for (int node : order) {
        const Node& n = nodes[static_cast<size_t>(node)];
        if (n.record->Name != identifier) continue;
        const char bandDigit = n.band == InternationalBand ? '5' : '4';
        for (const std::string& filter : filters) {
            if (filter[0] == bandDigit && at(identifier, 0) == at(filter, 3) &&
                at(identifier, 1) == at(filter, 4)) {
                view.SelectNode(node);
                return;
            }
        }
    }
}

std::string MessageHeader(const TMsgHeaderElement& record, int band, bool gone, const std::string& station) {
    std::string header = std::to_string(band) + " kHz";
    if (!station.empty())
        header += " · " + station;
    else if (!record.Name.empty())
        header += std::string(" · station ") + record.Name[0];
    header += std::string(" · ") + translatable::Tr("navtex", CategoryTexts[CategoryOf(record.Name)]);
    if (record.Age >= 0) {
        const platform::LocalDateTime local = datetime::UnpackFat(record.Age);
        const platform::LocalDateTime utc = datetime::UtcFromUnixSeconds(platform::FromLocal(local));
        header += translatable::Tr("navtex", " · reçu le ") + datetime::DateText(local) +
                  translatable::Tr("navtex", " à ") + datetime::TimeText(local) + " (" +
                  datetime::TimeText(utc) + " UTC)";
    }
    if (gone) header += translatable::Tr("navtex", " · n’est plus sur le récepteur");
    return header;
}

}  // namespace navtex
