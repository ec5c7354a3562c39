// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/FirmwarePackage.h"

#include "common/Translatable.h"

#include <algorithm>
#include <map>
#include <sstream>

#include "app/ArchivePath.h"
#include "platform/Files.h"
#include "platform/Hash.h"
#include "platform/Process.h"
#include "receiver/Models.h"

namespace update {
namespace {

// A role of the package: the manifest key, the file name after the image's unit and the
// block's size.
struct TRole {
    const char* key;
    const char* fileB;
    const char* fileBX;
    const char* fileD;
    size_t size;
    std::vector<uint8_t> TFirmwarePackage::*bytes;
};

const TRole Roles[] = {
    {"firmware", "zel2b_fra_firmware.bin", "zel2bx_fra_firmware.bin", "zel2d_firmware.bin", 65536,
     &TFirmwarePackage::firmware},
    {"data", "zel2b_fra_data.bin", "zel2bx_fra_data.bin", nullptr, 131072, &TFirmwarePackage::data},
    {"loader-new", "loader_new.bin", "loader_new.bin", nullptr, 1728, &TFirmwarePackage::loaderNew},
    {"loader-old", "loader_old.bin", "loader_old.bin", nullptr, 1736, &TFirmwarePackage::loaderOld},
    {"loader-d", nullptr, nullptr, "loader_d.bin", 1596, &TFirmwarePackage::loaderD},
};

const char* FileOfRole(const TRole& role, const std::string& family) {
    if (family == "B") return role.fileB;
    if (family == "BX") return role.fileBX;
    return role.fileD;
}

struct TPreambleRole {
    const char* key;
    const char* family;  // "BX" shares the file models' preambles with "B"
    uint32_t limit;      // sectors of the target the preamble is read from; 0: the volume, checked later
    const char* target;
    TPreamble TFirmwarePackage::*preamble;
};

const TPreambleRole PreambleRoles[] = {
    {"preamble-d", "D", ModelDTargetSectors, "NAV518.BIN", &TFirmwarePackage::preambleD},
    {"preamble-new", "B", NewTargetSectors, "HTML\\NAVAREA.HTM", &TFirmwarePackage::preambleNew},
    {"preamble-old", "B", 0, "", &TFirmwarePackage::preambleOld},
};

bool NeedsPreamble(const TPreambleRole& role, const std::string& family) {
    return (std::string(role.family) == "D") == (family == "D");
}

bool ParseVersion(const std::string& text, int& number) {
    int parts[3];
    char dot1 = 0, dot2 = 0, extra = 0;
    std::istringstream in(text);
    if (!(in >> parts[0] >> dot1 >> parts[1] >> dot2 >> parts[2]) || dot1 != '.' || dot2 != '.' ||
        (in >> extra))
        return false;
    for (int p : parts)
        if (p < 0 || p > 255) return false;
    number = parts[0] * 10000 + parts[1] * 100 + parts[2];
    return true;
}

bool IsSha256(const std::string& text) {
    return text.size() == 64 && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

// Reads at most limit bytes; false when the file is missing, unreadable or larger.
bool ReadSmallFile(const std::string& path, size_t limit, std::vector<uint8_t>& bytes) {
    platform::ReadOnlyFile file;
    if (!file.Open(path)) return false;
    const long long size = file.Size();
    if (size < 0 || static_cast<unsigned long long>(size) > limit) return false;
    bytes.resize(static_cast<size_t>(size));
    return size == 0 || file.ReadAt(0, bytes.data(), bytes.size()) == size;
}

// The manifest's lines as key -> values; false (with the reason) on a malformed line.
bool ParseManifest(const std::vector<uint8_t>& text, std::map<std::string, std::vector<std::string>>& lines,
                   std::string& problem) {
    std::istringstream in(std::string(text.begin(), text.end()));
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::string key, word;
        if (!(words >> key)) continue;
        std::vector<std::string> values;
        while (words >> word) values.push_back(word);
        if (lines.count(key)) {
            problem = translatable::Format(
                "update", QT_TRANSLATE_NOOP("update", "la clé « %1 » figure deux fois dans %2"),
                {key, ManifestName});
            return false;
        }
        lines[key] = std::move(values);
    }
    return true;
}

bool ParsePreamble(const std::vector<std::string>& values, TPreamble& preamble) {
    if (values.size() != preamble.size()) return false;
    for (size_t i = 0; i < values.size(); ++i) {
        const std::string& v = values[i];
        if (v.empty() || v.size() > 5 ||
            !std::all_of(v.begin(), v.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return false;
        const long number = std::stol(v);
        if (number > 65535) return false;
        preamble[i] = static_cast<uint16_t>(number);
    }
    return true;
}

using TManifest = std::map<std::string, std::vector<std::string>>;

std::string Single(const TManifest& lines, const char* key) {
    auto it = lines.find(key);
    return it != lines.end() && it->second.size() == 1 ? it->second[0] : std::string();
}

// Family, version and origin; false with the reason. The family is told as soon as it is known.
bool ReadHeader(const TManifest& lines, TFirmwarePackage& package, std::string& family,
                std::string& problem) {
    package.family = Single(lines, "family");
    if (package.family != "B" && package.family != "BX" && package.family != "D") {
        problem = translatable::Tr("update", "famille de récepteurs inconnue");
        return false;
    }
    family = package.family;
    package.versionText = Single(lines, "version");
    if (!ParseVersion(package.versionText, package.version)) {
        problem = translatable::Tr("update", "version invalide");
        return false;
    }
    const std::string origin = Single(lines, "origin");
    if (origin != "simulator" && origin != "maker") {
        problem = translatable::Tr("update", "origine inconnue");
        return false;
    }
    package.simulator = origin == "simulator";
    return true;
}

// One image: the manifest's line "key file size sha256" checked, then the file against it.
bool ReadImage(const TManifest& lines, const TRole& role, TFirmwarePackage& package, std::string& problem) {
    const char* expected = FileOfRole(role, package.family);
    if (!expected) return true;
    auto it = lines.find(role.key);
    if (it == lines.end() || it->second.size() != 3) {
        problem = translatable::Format("update", QT_TRANSLATE_NOOP("update", "le paquet est incomplet (%1)"),
                                       {role.key});
        return false;
    }
    const std::vector<std::string>& v = it->second;
    if (v[0] != expected) {
        problem = translatable::Format("update", QT_TRANSLATE_NOOP("update", "le fichier %1 n'est pas %2"),
                                       {v[0], expected});
        return false;
    }
    if (v[1] != std::to_string(role.size)) {
        problem = translatable::Format(
            "update", QT_TRANSLATE_NOOP("update", "la taille de %1 n'est pas celle de l'image (%2 octets)"),
            {v[0], std::to_string(role.size)});
        return false;
    }
    if (!IsSha256(v[2])) {
        problem = translatable::Format(
            "update", QT_TRANSLATE_NOOP("update", "la somme SHA-256 de %1 est invalide"), {v[0]});
        return false;
    }
    std::vector<uint8_t>& bytes = package.*role.bytes;
    if (!ReadSmallFile(platform::JoinPath(package.folder, v[0]), role.size + 1, bytes)) {
        problem = translatable::Format(
            "update", QT_TRANSLATE_NOOP("update", "le fichier %1 manque ou est illisible"), {v[0]});
        return false;
    }
    if (bytes.size() != role.size) {
        problem = translatable::Format(
            "update", QT_TRANSLATE_NOOP("update", "le fichier %1 n'a pas la taille annoncée"), {v[0]});
        return false;
    }
    if (platform::Sha256Hex(bytes.data(), bytes.size()) != v[2]) {
        problem = translatable::Format(
            "update", QT_TRANSLATE_NOOP("update", "la somme SHA-256 de %1 ne correspond pas"), {v[0]});
        return false;
    }
    return true;
}

bool ReadPreamble(const TManifest& lines, const TPreambleRole& role, TFirmwarePackage& package,
                  std::string& problem) {
    if (!NeedsPreamble(role, package.family)) return true;
    auto it = lines.find(role.key);
    TPreamble& preamble = package.*role.preamble;
    if (it == lines.end() || !ParsePreamble(it->second, preamble)) {
        problem = translatable::Format(
            "update", QT_TRANSLATE_NOOP("update", "le préambule %1 manque ou est invalide"), {role.key});
        return false;
    }
    if (role.limit != 0 && !PreambleFits(preamble, role.limit)) {
        problem = translatable::Format(
            "update", QT_TRANSLATE_NOOP("update", "le préambule %1 dépasse la fin du fichier %2"),
            {role.key, role.target});
        return false;
    }
    return true;
}

// The whole check of one package folder; family is set as soon as the manifest names it.
std::optional<TFirmwarePackage> Load(const std::string& folder, std::string& family, std::string& problem) {
    std::vector<uint8_t> manifest;
    if (!ReadSmallFile(platform::JoinPath(folder, ManifestName), 65536, manifest)) {
        problem = translatable::Format("update", QT_TRANSLATE_NOOP("update", "%1 manque ou est illisible"),
                                       {ManifestName});
        return std::nullopt;
    }
    TManifest lines;
    if (!ParseManifest(manifest, lines, problem)) return std::nullopt;
    TFirmwarePackage package;
    package.folder = folder;
    if (!ReadHeader(lines, package, family, problem)) return std::nullopt;
    for (const TRole& role : Roles)
        if (!ReadImage(lines, role, package, problem)) return std::nullopt;
    for (const TPreambleRole& role : PreambleRoles)
        if (!ReadPreamble(lines, role, package, problem)) return std::nullopt;
    return package;
}

}  // namespace

std::string FamilyOfModel(const std::string& model) {
    return std::string(receiver::ModelOf(model).firmwareFamily);
}

std::string DescribePackage(const TFirmwarePackage& package, const std::string& model) {
    std::string text =
        (model.empty() ? receiver::ModelsOfFamily(package.family) : model) + " " + package.versionText;
    if (package.simulator) text += std::string(" (") + SimulatorMark + ")";
    return text;
}

bool PreambleFits(const TPreamble& preamble, uint32_t targetSectors) {
    return std::all_of(preamble.begin(), preamble.end(),
                       [targetSectors](uint16_t s) { return s < targetSectors; });
}

std::optional<TFirmwarePackage> LoadFirmwarePackage(const std::string& folder, std::string& problem) {
    std::string family;
    return Load(folder, family, problem);
}

std::vector<std::string> InstalledPackageRoots() {
    const std::string archive =
        app::ArchivePath(platform::ApplicationDataFolder(), platform::ExecutableFolder());
    const std::string beside = platform::JoinPath(platform::ExecutableFolder(), PackagesFolderName);
    std::vector<std::string> roots{platform::JoinPath(archive, PackagesFolderName)};
    if (beside != roots[0]) roots.push_back(beside);
    return roots;
}

TPackageChoice FindFirmwarePackage(const std::vector<std::string>& roots, const std::string& model) {
    TPackageChoice choice;
    const std::string family = FamilyOfModel(model);
    std::string refusal, otherFamily;
    for (const std::string& root : roots) {
        std::vector<platform::FolderEntry> entries = platform::ListFolder(root);
        std::sort(
            entries.begin(), entries.end(),
            [](const platform::FolderEntry& a, const platform::FolderEntry& b) { return a.name < b.name; });
        for (const platform::FolderEntry& entry : entries) {
            if (!entry.isFolder) continue;
            const std::string folder = platform::JoinPath(root, entry.name);
            std::string seenFamily, problem;
            std::optional<TFirmwarePackage> package = Load(folder, seenFamily, problem);
            if (!package) {
                // A package of another family does not concern this receiver.
                if (refusal.empty() && (seenFamily.empty() || seenFamily == family))
                    refusal = translatable::Format(
                        "update", QT_TRANSLATE_NOOP("update", "Paquet firmware refusé (%1) : %2."),
                        {folder, problem});
                continue;
            }
            if (package->family != family) {
                if (otherFamily.empty()) otherFamily = package->family;
                continue;
            }
            if (!choice.package || package->version > choice.package->version)
                choice.package = std::move(package);
        }
    }
    if (choice.package) return choice;
    if (family.empty())
        choice.problem = translatable::Tr("update", "Aucun firmware ne convient à ce récepteur.");
    else if (!refusal.empty())
        choice.problem = refusal + translatable::Tr("update", " Mise à jour abandonner!");
    else if (!otherFamily.empty())
        choice.problem = translatable::Format(
            "update",
            QT_TRANSLATE_NOOP("update",
                              "Le paquet firmware installé est destiné au %1, pas au %2. "
                              "Installez le paquet du %2 dans %3."),
            {receiver::ModelsOfFamily(otherFamily), model, roots.empty() ? std::string() : roots[0]});
    else
        choice.problem = translatable::Format(
            "update",
            QT_TRANSLATE_NOOP("update",
                              "Aucun firmware n'est installé pour le %1. Installez le paquet firmware "
                              "du %1 dans %2."),
            {model, roots.empty() ? std::string() : roots[0]});
    return choice;
}

std::string ManifestText(const std::string& family, const std::string& version, bool simulator,
                         const std::vector<std::pair<std::string, TPackageFile>>& files,
                         const std::vector<std::pair<std::string, TPreamble>>& preambles) {
    std::ostringstream out;
    out << "# ZEL2 firmware package\n";
    if (simulator) out << "# SIMULATOR DATA: made for the simulated receiver; it would destroy a real one.\n";
    out << "family " << family << "\nversion " << version << "\norigin "
        << (simulator ? "simulator" : "maker") << "\n";
    for (const auto& [key, file] : files)
        out << key << " " << file.name << " " << file.size << " " << file.sha256 << "\n";
    for (const auto& [key, preamble] : preambles) {
        out << key;
        for (uint16_t s : preamble) out << " " << s;
        out << "\n";
    }
    return out.str();
}

}  // namespace update
