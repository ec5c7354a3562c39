// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "receiver/ReadMarks.h"

#include "common/Band.h"

struct TAcquisitionState;

// One archived message file.
struct TMsgHeaderElement {
    std::string Name;                // first four characters of the file name, e.g. FA12
    int32_t Age = -1;                // packed FAT date-time of the last write, -1 when unknown
    std::vector<std::string> Lines;  // Windows-1252 bytes, one entry per line
};

using TMsgList = std::vector<std::unique_ptr<TMsgHeaderElement>>;

namespace navtex {

// A message file as a rebuild found it, for what keeps messages beyond the archive.
struct TArchiveFile {
    int band = 518;         // 518 or 490
    std::string name;       // the first four characters of the file's name
    std::string bytes;      // as received
    int64_t received = -1;  // the file's time, seconds since 1970 UTC; -1 when unknown
};
using TArchiveSink = std::function<void(std::vector<TArchiveFile>)>;

// The most of one message file that is read (messages are a few KB).
inline constexpr size_t MaxMessageFileBytes = size_t{1} << 20;

inline constexpr int CategoryCount = 10;
inline constexpr int ExpansionFlagCount = 2 * (CategoryCount + 1);
inline constexpr int32_t AgeWindow = 0x2A300;
inline constexpr size_t MaxFilters = 10;

extern const char* const Root518Text;
extern const char* const Root490Text;
extern const char* const CategoryTexts[CategoryCount];

// Category index 0..9 of a message name by its subject letter (second character).
int CategoryOf(const std::string& name);

// The lines of a message file: a line ends at CR (one LF right after it is consumed too),
// 0x1A ends the text, and any CR or LF left inside a line becomes a space.
std::vector<std::string> SplitMessageLines(const std::string& bytes);

// Reads every file of a folder (not its sub-folders) into records. A file that cannot be
// opened or read is left out. found is set when the folder listed at least one file. With
// files, each file read is also added there as it is, with the band given.
TMsgList ReadMessageFolder(const std::string& folder, bool& found, std::vector<TArchiveFile>* files = nullptr,
                           int band = 518);

// Sorts by name (ordinal) and keeps, of every run of equal names, the first of the newest.
void SortAndRemoveDuplicates(TMsgList& list);

// Drops the stale messages of both lists by the packed ages; see Rebuild.
void ApplyAgeWindow(TMsgList& list518, bool found518, TMsgList& list490, bool found490);

// The message filter arguments: "518.." / "490..", first five characters, at most ten.
std::vector<std::string> CollectFilters(const std::vector<std::string>& arguments);

// What the tree rebuild and the selection need of the tree control. Nodes are numbered
// 0, 1, 2, ... in the order they are added since the last ClearTree.
class INavtexTreeView {
public:
    virtual ~INavtexTreeView() = default;
    virtual void ClearTree() = 0;
    // parent -1 adds a top-level node, otherwise the node becomes parent's last child.
    virtual void AddNode(int node, int parent, const std::string& text) = 0;
    virtual void SetNodeBold(int node, bool bold) = 0;
    virtual bool NodeExpanded(int node) const = 0;
    virtual void SetNodeExpanded(int node, bool expanded) = 0;     // this node only
    virtual void SetSubtreeExpanded(int node, bool expanded) = 0;  // with all descendants
    virtual void ScrollTreeToTop() = 0;
    // Makes node the selected one; the control reports it back through SelectionChanged.
    virtual void SelectNode(int node) = 0;
    virtual void SetMemoText(const std::string& text) = 0;
    // The line above the message: band, station, subject, reception time (UTF-8).
    virtual void SetMessageHeader(const std::string&) {}
};

// "518 kHz · station F · Avertissements de navigation · reçu le 09/12/2026 à 14:32 (13:32 UTC)":
// what a sailor reads above a message; gone adds that it is no longer on the receiver;
// station, where known, stands for "station F" ("Niton (GB)").
std::string MessageHeader(const TMsgHeaderElement& record, int band, bool gone,
                          const std::string& station = {});  // band in kHz
// Who sent a message, in the header's words (empty: its letter only).
using TStationNamer = std::function<std::string(int band, const TMsgHeaderElement& record)>;

// The message tree: skeleton, rebuild from the archive, read marks, selection, expand and
// collapse. Runs on the window's thread only.
class TNavtexTree {
public:
    TNavtexTree(INavtexTreeView& view, TReadMarkList& readMarks, const TAcquisitionState& state,
                std::vector<std::string> arguments);

    void SetArchiveRoot(const std::string& root) { archiveRoot = root; }
    // After each rebuild the sink receives every file the archive held (duplicates and
    // messages older than the tree shows included).
    void SetArchiveSink(TArchiveSink sink) { archiveSink = std::move(sink); }

    void BuildSkeleton();
    void Rebuild();
    void ExpandAll();
    void CollapseAll();
    void SaveExpansionMemory();

    // The selection-change event of the control, with the node now selected (-1: none).
    void SelectionChanged(int node);

    // The record of a message node and its band; null otherwise.
    const TMsgHeaderElement* RecordOf(int node, int& band) const {
        if (node < 0 || node >= static_cast<int>(nodes.size())) return nullptr;
        band = nodes[static_cast<size_t>(node)].band;
        return nodes[static_cast<size_t>(node)].record;
    }
    int NodeCount() const { return static_cast<int>(nodes.size()); }

    // Red is for a selected message node only, never a root or a category.
    bool DrawSelectedRed(int node, bool selected) const;

    const std::string& ShownMessageName() const { return shownMessageName; }
    void SetStationNamer(TStationNamer namer) { stationNamer = std::move(namer); }
    int ShownBand() const { return shownBand; }
    const TMsgList& List518() const { return list518; }
    const TMsgList& List490() const { return list490; }
    const std::vector<std::string>& Filters() const { return filters; }
    const uint8_t* ExpansionMemory() const { return expansion; }

    // Node handles of the skeleton: root 0/1, categories 0..9.
    int RootNode(int band) const { return roots[BandSlot(band)]; }
    int CategoryNode(int band, int category) const { return categories[BandSlot(band)][category]; }

private:
    struct Node {
        int parent;
        const TMsgHeaderElement* record;
        int band;
    };

    int AddNode(int parent, const std::string& text, const TMsgHeaderElement* record, int band);
    void AddMessages(const TMsgList& list, int band);
    void ApplyReadMark(int node, const TMsgHeaderElement& record);
    void MarkRead(int node, const TMsgHeaderElement& record);
    void ShowMessage(const TMsgHeaderElement& record, int band);
    // After a rebuild: the shown message's node again when it is still there, or the header
    // says it has gone; nothing else is marked read.
    void KeepShownMessage();
    void RestoreExpansionMemory();
    void AutomaticSelection();
    // Nodes with a record in the tree's top-to-bottom order.
    std::vector<int> MessageNodesInTreeOrder() const;
    std::string ThirdRecentIdentifier() const;

    INavtexTreeView& view;
    TReadMarkList& readMarks;
    const TAcquisitionState& state;
    std::vector<std::string> arguments;
    std::string archiveRoot;
    TArchiveSink archiveSink;

    TMsgList list518, list490;
    std::vector<Node> nodes;          // by handle
    int roots[BandCount] = {-1, -1};  // by BandSlot
    int categories[BandCount][CategoryCount] = {};
    std::vector<int> categoryMessages[BandCount][CategoryCount];
    uint8_t expansion[ExpansionFlagCount] = {};
    std::vector<std::string> filters;
    std::string shownMessageName;
    TStationNamer stationNamer;
    int shownBand = 0;  // none
    int32_t shownAge = -1;
    bool selectedSinceRebuild = false;
    // First mark of every age, so a rebuild of many messages stays linear.
    std::unordered_map<int32_t, size_t> markIndex;
};

}  // namespace navtex
