// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/FirmwareTransfer.h"

#include <algorithm>
#include <cstring>

#include "acquisition/AcquisitionState.h"
#include "app/CommandLine.h"
#include "platform/Drives.h"
#include "platform/Files.h"
#include "receiver/Models.h"
#include "receiver/ReceiverDetection.h"

namespace update {

const char* const NotFoundText =
    "ZEL2 non trouvé. Veuillez vérifier la connection du câble. Le PC doit fonctionner en mode administrateur!";
const char* const TransmitText = "Transmettre les données firmware ...";
const char* const VerifyText = "Vérification des données firmware ...";
const char* const StartProgrammerText = "Demarrage programmer ...";
const char* const SuccessText = "La mise à jour a été réalisée avec succès!";
const char* const ErrorText = "Erreur! Mise à jour abandonner!";
const char* const StartNotSentText =
    "Erreur! La commande de démarrage n'a pas atteint le récepteur. Mise à jour abandonner!";
const char* const TargetTooSmallText =
    "Erreur! Le fichier du récepteur est plus petit que ne le prévoit le firmware. Rien n'a été écrit. Mise à jour "
    "abandonner!";

TFirmwareBuffers& Buffers() {
    static TFirmwareBuffers buffers{};
    return buffers;
}

namespace {

void CopyInto(uint8_t* target, size_t capacity, std::span<const uint8_t> block) {
    std::memcpy(target, block.data(), std::min(capacity, block.size()));
}

bool SameBytes(const uint8_t* a, const uint8_t* b, size_t n) { return std::memcmp(a, b, n) == 0; }

}  // namespace

void StageModelD(const TFirmwarePackage& package) {
    TFirmwareBuffers& b = Buffers();
    CopyInto(b.Loader, sizeof b.Loader, package.loaderD);
    CopyInto(b.Firmware, sizeof b.Firmware, package.firmware);
}

void StageFamily(const TFirmwarePackage& package, std::span<const uint8_t> loaderBlock) {
    TFirmwareBuffers& b = Buffers();
    CopyInto(b.Loader, sizeof b.Loader, loaderBlock);
    CopyInto(b.Firmware, sizeof b.Firmware, package.firmware);
    CopyInto(b.Data, sizeof b.Data, package.data);
}

bool TPlatformUpdateTarget::SetAttributes(const std::string& path, unsigned attributes) {
    return platform::SetAttributes(path, attributes);
}

TUpdateMethod ChooseMethod(const std::string& model, int version, const std::vector<std::string>& arguments) {
    const receiver::TModel& row = receiver::ModelOf(model);
    if (row.name.empty()) return TUpdateMethod::None;
    if (row.storage == receiver::TStorage::Rings) return TUpdateMethod::ModelD;
    const bool forced = arguments.size() == 2 && app::UpperAscii(arguments[0]) == "FORCE";
    if (forced && app::UpperAscii(arguments[1]) == "NEW_UPDATE") return TUpdateMethod::New;
    if (forced && app::UpperAscii(arguments[1]) == "OLD_UPDATE") return TUpdateMethod::Old;
    return version >= 10008 ? TUpdateMethod::New : TUpdateMethod::Old;
}

bool FirmwareOfferDue(const std::string& model, int version, const TPackageChoice& installed) {
    if (FamilyOfModel(model).empty() || !installed.package || installed.package->simulator) return false;
    return installed.package->family == FamilyOfModel(model) && version < installed.package->version;
}

bool TFirmwareUpdater::ReadSectors(uint32_t first, int count, uint8_t* buffer) {
    if (!target.IsOpen() || count <= 0) return false;
    const size_t size = static_cast<size_t>(count) * platform::SectorSize;
    return target.ReadAt(uint64_t{first} * platform::SectorSize, buffer, size) == static_cast<long long>(size);
}

bool TFirmwareUpdater::WriteSectors(uint32_t first, int count, const uint8_t* buffer) {
    if (!target.IsOpen() || count <= 0) return false;
    const size_t size = static_cast<size_t>(count) * platform::SectorSize;
    return target.WriteAt(uint64_t{first} * platform::SectorSize, buffer, size) == static_cast<long long>(size);
}

bool TFirmwareUpdater::SendCommand(const TPreamble& preamble, uint16_t command) {
    if (!target.IsOpen()) return false;
    alignas(platform::SectorBufferAlignment) static uint8_t sector[platform::SectorSize];
    for (size_t i = 0; i <= preamble.size(); ++i) {
        const uint16_t index = i < preamble.size() ? preamble[i] : command;
        target.Flush();
        if (target.ReadAt(uint64_t{index} * platform::SectorSize, sector, sizeof sector) !=
            static_cast<long long>(sizeof sector))
            return false;
    }
    return true;
}

void TFirmwareUpdater::OpenTarget(const std::string& path, bool writable) {
    if (target.Open(path, writable) == platform::TargetOpen::NoRights && !rightsNoticeShown) {
        rightsNoticeShown = true;
        view.ShowNoAdmin();
    }
}

void TFirmwareUpdater::SetMaximum(int value) {
    maximum = value;
    view.SetProgressMaximum(value);
    if (progress > maximum) SetProgress(maximum);
}

void TFirmwareUpdater::SetProgress(int position) {
    // The bar stops at its maximum.
    progress = std::clamp(position, 0, maximum);
    view.SetProgress(progress);
}

void TFirmwareUpdater::StartButtonClick() {
    receiver::DetectReceiver(state.Detection);
    const int version = state.SystemData.FirmwareVersionNumber();
    switch (ChooseMethod(state.ReceiverModel(), version, arguments)) {
    case TUpdateMethod::ModelD: UpdateModelD(); break;
    case TUpdateMethod::New: UpdateNew(); break;
    case TUpdateMethod::Old: UpdateOld(); break;
    case TUpdateMethod::None: break;
    }
}

void TFirmwareUpdater::Finish(bool verified, uint16_t startCommand, const TPreamble& preamble, bool closeFirst) {
    if (verified) {
        // A receiver pulled after the verification never got the start: that is no success.
        const bool started = SendCommand(preamble, startCommand);
        if (closeFirst) target.Close();
        if (!started) {
            view.ShowMessage(StartNotSentText);
            view.Repaint();
            view.CloseDialog();
            return;
        }
        view.SetStatus(StartProgrammerText);
        view.SetStatus(SuccessText);
        view.Repaint();
        view.ShowUpdateInfo();
        view.CloseDialog();
    } else {
        view.ShowMessage(ErrorText);
        view.Repaint();
        if (closeFirst) target.Close();
        view.CloseDialog();
    }
}

int TFirmwareUpdater::Begin(const std::function<void(const TFirmwarePackage&)>& stage, bool modelD) {
    rightsNoticeShown = false;
    const int drive = receiver::DetectReceiver(state.Detection);
    package.reset();
    if (drive == receiver::NoDrive) {
        view.ShowMessage(NotFoundText);
        return receiver::NoDrive;
    }
    TPackageChoice choice = FindFirmwarePackage(packageRoots, state.ReceiverModel());
    if (choice.package && (choice.package->family == "D") != modelD) {
        choice.package.reset();
        choice.problem = "Aucun firmware ne convient à ce récepteur.";
    }
    if (!choice.package) {
        view.ShowMessage(choice.problem);
        return receiver::NoDrive;
    }
    package = std::move(choice.package);
    stage(*package);
    return drive;
}

void TFirmwareUpdater::Abort(const std::string& message) {
    view.ShowMessage(message);
    view.Repaint();
    target.Close();
    view.CloseDialog();
    SetProgress(0);
}

bool TFirmwareUpdater::Unlock(const std::string& path, const TPreamble& preamble, uint32_t highestSector,
                              uint16_t first, uint16_t second) {
    OpenTarget(path, false);
    // Sectors past the end never reach the receiver, and a write there would land in the
    // wrong place: check against the target's real size before anything is written.
    const long long size = target.IsOpen() ? target.Size() : -1;
    if (size >= 0) {
        const auto sectors = static_cast<uint64_t>(size) / platform::SectorSize;
        if (highestSector >= sectors || !std::all_of(preamble.begin(), preamble.end(),
                                                     [sectors](uint16_t s) { return s < sectors; })) {
            Abort(TargetTooSmallText);
            return false;
        }
    }
    // A receiver that did not take both commands is not in update mode: writing would
    // only destroy its files.
    if (!SendCommand(preamble, first) || !SendCommand(preamble, second)) {
        Abort(ErrorText);
        return false;
    }
    return true;
}

bool TFirmwareUpdater::WriteChunks(uint32_t firstSector, uint32_t chunks, const uint8_t* image) {
    for (uint32_t k = 0; k < chunks; ++k) {
        if (!WriteSectors(firstSector + ChunkSectors * k, ChunkSectors, image + k * ChunkBytes)) return false;
        Advance(32);
        view.Repaint();
    }
    return true;
}

void TFirmwareUpdater::ReadChunks(uint32_t firstSector, uint32_t chunks) {
    for (uint32_t k = 0; k < chunks; ++k) {
        ReadSectors(firstSector + ChunkSectors * k, ChunkSectors, Buffers().ReadBack + k * ChunkBytes);
        Advance(32);
        view.Repaint();
    }
}

void TFirmwareUpdater::UpdateModelD() {
    const int drive = Begin([](const TFirmwarePackage& p) { StageModelD(p); }, true);
    if (drive == receiver::NoDrive) return;
    TFirmwareBuffers& b = Buffers();
    const TPreamble preamble = package->preambleD;
    const std::string path = platform::JoinPath(platform::DriveRoot(drive), "NAV518.BIN");
    view.Repaint();
    if (!Unlock(path, preamble, 367, 202, 195)) return;
    target.SetAttributes(path, platform::AttrNormal);
    target.Close();
    OpenTarget(path, true);

    view.SetStatus(TransmitText);
    view.Repaint();
    SetMaximum(135);
    if (!WriteSectors(112, 8, b.Loader)) return Failed();
    SetProgress(8);
    view.Repaint();
    if (!WriteChunks(240, 4, b.Firmware)) return Failed();
    target.SetAttributes(path, platform::AttrReadOnly);
    target.Flush();
    if (!SendCommand(preamble, 193)) return Failed();
    target.Close();
    OpenTarget(path, false);

    view.SetStatus(VerifyText);
    SetProgress(0);
    view.Repaint();
    ReadSectors(112, 8, b.ReadBack);
    bool verified = SameBytes(b.ReadBack, b.Loader, sizeof b.Loader);
    SetProgress(8);
    view.Repaint();
    std::memset(b.ReadBack, 0xFF, sizeof b.ReadBack);
    ReadChunks(240, 4);
    verified = verified && SameBytes(b.ReadBack, b.Firmware, sizeof b.Firmware);
    SetProgress(maximum);
    view.Repaint();

    Finish(verified, 197, preamble, false);
    SetProgress(0);
    target.Close();
}

void TFirmwareUpdater::UpdateNew() {
    const int drive = Begin([](const TFirmwarePackage& p) { StageFamily(p, p.loaderNew); }, false);
    if (drive == receiver::NoDrive) return;
    TFirmwareBuffers& b = Buffers();
    const TPreamble preamble = package->preambleNew;
    const std::string path = platform::JoinPath(platform::DriveRoot(drive), "HTML\\NAVAREA.HTM");
    view.Repaint();
    if (!Unlock(path, preamble, 31, 1, 2)) return;
    target.SetAttributes(path, platform::AttrNormal);
    target.Close();
    OpenTarget(path, true);

    view.SetStatus(TransmitText);
    view.Repaint();
    SetMaximum(383);
    SetProgress(0);
    for (uint32_t k = 0; k < 4; ++k) {
        if (!SendCommand(preamble, static_cast<uint16_t>(4 + k)) || !WriteSectors(0, ChunkSectors, b.Firmware + k * ChunkBytes))
            return Failed();
        Advance(32);
        view.Repaint();
        target.Flush();
    }
    // The receiver takes its loader from the end of the data image.
    std::memcpy(b.Data + sizeof b.Data - sizeof b.Loader, b.Loader, sizeof b.Loader);
    for (uint32_t k = 0; k < 8; ++k) {
        if (!SendCommand(preamble, static_cast<uint16_t>(12 + k)) || !WriteSectors(0, ChunkSectors, b.Data + k * ChunkBytes))
            return Failed();
        Advance(32);
        view.Repaint();
        target.Flush();
    }
    target.SetAttributes(path, platform::AttrReadOnly);
    target.Flush();
    if (!SendCommand(preamble, 3)) return Failed();
    target.Close();

    view.SetStatus(VerifyText);
    SetProgress(0);
    view.Repaint();
    OpenTarget(path, false);
    // As the two other methods: nothing of an earlier run can pass for what was read back.
    std::memset(b.ReadBack, 0xFF, sizeof b.ReadBack);
    for (uint32_t k = 0; k < 4; ++k) {
        if (!SendCommand(preamble, static_cast<uint16_t>(4 + k))) return Failed();
        ReadSectors(0, ChunkSectors, b.ReadBack + k * ChunkBytes);
        Advance(32);
        view.Repaint();
        target.Flush();
    }
    bool verified = SameBytes(b.ReadBack, b.Firmware, sizeof b.Firmware);
    for (uint32_t k = 0; k < 8; ++k) {
        if (!SendCommand(preamble, static_cast<uint16_t>(12 + k))) return Failed();
        ReadSectors(0, ChunkSectors, b.ReadBack + k * ChunkBytes);
        Advance(32);
        view.Repaint();
    }
    SetProgress(maximum);
    view.Repaint();
    verified = verified && SameBytes(b.ReadBack, b.Data, sizeof b.Data);

    Finish(verified, 20, preamble, false);
    SetProgress(0);
    target.Close();
}

void TFirmwareUpdater::UpdateOld() {
    const int drive = Begin([](const TFirmwarePackage& p) { StageFamily(p, p.loaderOld); }, false);
    if (drive == receiver::NoDrive) return;
    TFirmwareBuffers& b = Buffers();
    const TPreamble preamble = package->preambleOld;
    const std::string volume = platform::RawVolumePath(drive);
    view.Repaint();
    if (!Unlock(volume, preamble, 1277, 856, 849)) return;
    target.Close();
    OpenTarget(volume, true);

    view.SetStatus(TransmitText);
    view.Repaint();
    SetMaximum(391);
    if (!WriteSectors(766, 8, b.Loader)) return Failed();
    SetProgress(8);
    if (!WriteChunks(774, 4, b.Firmware) || !WriteChunks(1022, 8, b.Data)) return Failed();
    SetProgress(maximum);
    target.Flush();
    if (!SendCommand(preamble, 847)) return Failed();
    target.Close();
    OpenTarget(volume, false);

    view.SetStatus(VerifyText);
    SetProgress(0);
    view.Repaint();
    std::memset(b.ReadBack, 0xFF, sizeof b.ReadBack);
    ReadSectors(766, 8, b.ReadBack);
    bool verified = SameBytes(b.ReadBack, b.Loader, sizeof b.Loader);
    SetProgress(8);
    view.Repaint();
    std::memset(b.ReadBack, 0xFF, sizeof b.ReadBack);
    ReadChunks(774, 4);
    verified = verified && SameBytes(b.ReadBack, b.Firmware, sizeof b.Firmware);
    std::memset(b.ReadBack, 0xFF, sizeof b.ReadBack);
    ReadChunks(1022, 8);
    verified = verified && SameBytes(b.ReadBack, b.Data, sizeof b.Data);
    SetProgress(maximum);
    view.Repaint();

    Finish(verified, 851, preamble, true);
    SetProgress(0);
}

}  // namespace update
