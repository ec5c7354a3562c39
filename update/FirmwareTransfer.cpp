// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/FirmwareTransfer.h"

#include <algorithm>
#include <cstring>

#include "acquisition/AcquisitionState.h"
#include "app/CommandLine.h"
#include "common/Translatable.h"
#include "platform/Drives.h"
#include "platform/Files.h"
#include "receiver/Models.h"
#include "receiver/ReceiverDetection.h"

namespace update {

const char* const NotFoundText = QT_TRANSLATE_NOOP(
    "update",
    "ZEL2 non trouvé. Veuillez vérifier la connection du câble. Le PC doit fonctionner en mode "
    "administrateur!");
const char* const TransmitText = QT_TRANSLATE_NOOP("update", "Transmettre les données firmware ...");
const char* const VerifyText = QT_TRANSLATE_NOOP("update", "Vérification des données firmware ...");
const char* const StartProgrammerText = QT_TRANSLATE_NOOP("update", "Demarrage programmer ...");
const char* const SuccessText = QT_TRANSLATE_NOOP("update", "La mise à jour a été réalisée avec succès!");
const char* const ErrorText = QT_TRANSLATE_NOOP("update", "Erreur! Mise à jour abandonner!");
const char* const StartNotSentText = QT_TRANSLATE_NOOP(
    "update", "Erreur! La commande de démarrage n'a pas atteint le récepteur. Mise à jour abandonner!");
const char* const TargetTooSmallText = QT_TRANSLATE_NOOP(
    "update",
    "Erreur! Le fichier du récepteur est plus petit que ne le prévoit le firmware. Rien n'a été écrit. Mise "
    "à jour abandonner!");

TFirmwareBuffers& Buffers() {
    static TFirmwareBuffers buffers{};
    return buffers;
}

namespace {

void CopyInto(uint8_t* target, size_t capacity, std::span<const uint8_t> block) {
    std::memcpy(target, block.data(), std::min(capacity, block.size()));
}

bool SameBytes(const uint8_t* a, const uint8_t* b, size_t n) {
    return std::memcmp(a, b, n) == 0;
}

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
    return target.ReadAt(uint64_t{first} * platform::SectorSize, buffer, size) ==
           static_cast<long long>(size);
}

bool TFirmwareUpdater::WriteSectors(uint32_t first, int count, const uint8_t* buffer) {
    if (!target.IsOpen() || count <= 0) return false;
    const size_t size = static_cast<size_t>(count) * platform::SectorSize;
    return target.WriteAt(uint64_t{first} * platform::SectorSize, buffer, size) ==
           static_cast<long long>(size);
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
        case TUpdateMethod::ModelD:
            UpdateModelD();
            break;
        case TUpdateMethod::New:
            UpdateNew();
            break;
        case TUpdateMethod::Old:
            UpdateOld();
            break;
        case TUpdateMethod::None:
            break;
    }
}

void TFirmwareUpdater::Finish(bool verified, uint16_t startCommand, const TPreamble& preamble,
                              bool closeFirst) {
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

int TFirmwareUpdater::Begin(void (*stage)(const TFirmwarePackage&), bool modelD) {
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
        choice.problem = translatable::Tr("update", "Aucun firmware ne convient à ce récepteur.");
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
        if (highestSector >= sectors ||
            !std::all_of(preamble.begin(), preamble.end(), [sectors](uint16_t s) { return s < sectors; })) {
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

namespace {

// Where each method puts the images, and its commands. A placement through the window
// writes every chunk k to the same sectors after the command that selects it.
constexpr TPlacement ModelDImages[] = {{.image = TImage::Loader, .sector = 112},
                                       {.image = TImage::Firmware, .sector = 240}};
constexpr TPlacement NewImages[] = {{.image = TImage::Firmware, .sector = 0, .firstWindowCommand = 4},
                                    {.image = TImage::Data, .sector = 0, .firstWindowCommand = 12}};
constexpr TPlacement OldImages[] = {{.image = TImage::Loader, .sector = 766},
                                    {.image = TImage::Firmware, .sector = 774},
                                    {.image = TImage::Data, .sector = 1022}};

// The receiver takes its loader from the end of the data image.
void StageNew(const TFirmwarePackage& package) {
    StageFamily(package, package.loaderNew);
    TFirmwareBuffers& b = Buffers();
    std::memcpy(b.Data + sizeof b.Data - sizeof b.Loader, b.Loader, sizeof b.Loader);
}

}  // namespace

const TProcedure ModelDProcedure{.file = "NAV518.BIN",
                                 .modelD = true,
                                 .stage = StageModelD,
                                 .preamble = &TFirmwarePackage::preambleD,
                                 .unlock = {202, 195},
                                 .images = ModelDImages,
                                 .commit = 193,
                                 .start = 197,
                                 .progressMaximum = 135};
const TProcedure NewProcedure{.file = "HTML\\NAVAREA.HTM",
                              .modelD = false,
                              .stage = StageNew,
                              .preamble = &TFirmwarePackage::preambleNew,
                              .unlock = {1, 2},
                              .images = NewImages,
                              .commit = 3,
                              .start = 20,
                              .progressMaximum = 383};
const TProcedure OldProcedure{.file = nullptr,
                              .modelD = false,
                              .stage = [](const TFirmwarePackage& p) { StageFamily(p, p.loaderOld); },
                              .preamble = &TFirmwarePackage::preambleOld,
                              .unlock = {856, 849},
                              .images = OldImages,
                              .commit = 847,
                              .start = 851,
                              .progressMaximum = 391,
                              .closeBeforeNotice = true};

std::span<uint8_t> ImageBytes(TImage image) {
    TFirmwareBuffers& b = Buffers();
    switch (image) {
        case TImage::Loader:
            return b.Loader;
        case TImage::Firmware:
            return b.Firmware;
        case TImage::Data:
            return b.Data;
    }
    return {};
}

uint32_t HighestSector(const TProcedure& procedure) {
    uint32_t highest = 0;
    for (const TPlacement& place : procedure.images) {
        const auto sectors = static_cast<uint32_t>(ImageBytes(place.image).size() / platform::SectorSize);
        highest =
            std::max(highest, place.sector +
                                  (place.firstWindowCommand ? std::min(sectors, ChunkSectors) : sectors) - 1);
    }
    return highest;
}

bool TFirmwareUpdater::MovePiece(const TPlacement& place, uint32_t k, const TPreamble& preamble,
                                 uint8_t* bytes, uint32_t sectors, bool write) {
    uint32_t sector = place.sector + ChunkSectors * k;
    if (place.firstWindowCommand) {
        if (!SendCommand(preamble, static_cast<uint16_t>(place.firstWindowCommand + k))) return false;
        sector = place.sector;
    }
    if (write) {
        if (!WriteSectors(sector, static_cast<int>(sectors), bytes)) return false;
    } else {
        // A read that fails leaves the read-back unlike the image: the comparison says so.
        ReadSectors(sector, static_cast<int>(sectors), bytes);
    }
    Advance(static_cast<int>(sectors));
    view.Repaint();
    if (write && place.firstWindowCommand) target.Flush();
    return true;
}

bool TFirmwareUpdater::MoveImage(const TPlacement& place, const TPreamble& preamble, bool write) {
    const std::span<uint8_t> image = ImageBytes(place.image);
    uint8_t* readBack = Buffers().ReadBack;
    if (!write) std::memset(readBack, 0xFF, sizeof Buffers().ReadBack);
    const auto total = static_cast<uint32_t>(image.size() / platform::SectorSize);
    for (uint32_t k = 0, done = 0; done < total; ++k) {
        const uint32_t sectors = std::min(ChunkSectors, total - done);
        uint8_t* bytes = (write ? image.data() : readBack) + size_t{done} * platform::SectorSize;
        if (!MovePiece(place, k, preamble, bytes, sectors, write)) return false;
        done += sectors;
    }
    return true;
}

void TFirmwareUpdater::Run(const TProcedure& procedure) {
    const int drive = Begin(procedure.stage, procedure.modelD);
    if (drive == receiver::NoDrive) return;
    const TPreamble preamble = (*package).*procedure.preamble;
    const std::string path = procedure.file ? platform::JoinPath(platform::DriveRoot(drive), procedure.file)
                                            : platform::RawVolumePath(drive);
    view.Repaint();
    if (!Unlock(path, preamble, HighestSector(procedure), procedure.unlock[0], procedure.unlock[1])) return;
    // A file on the receiver is written with its read-only flag off, and gets it back.
    if (procedure.file) target.SetAttributes(path, platform::AttrNormal);
    target.Close();
    OpenTarget(path, true);

    view.SetStatus(TransmitText);
    view.Repaint();
    SetMaximum(procedure.progressMaximum);
    for (const TPlacement& place : procedure.images)
        if (!MoveImage(place, preamble, true)) return Failed();
    if (procedure.file) target.SetAttributes(path, platform::AttrReadOnly);
    target.Flush();
    if (!SendCommand(preamble, procedure.commit)) return Failed();
    target.Close();
    OpenTarget(path, false);

    view.SetStatus(VerifyText);
    SetProgress(0);
    view.Repaint();
    bool verified = true;
    for (const TPlacement& place : procedure.images) {
        if (!MoveImage(place, preamble, false)) return Failed();
        const std::span<uint8_t> image = ImageBytes(place.image);
        verified = verified && SameBytes(Buffers().ReadBack, image.data(), image.size());
    }
    SetProgress(maximum);
    view.Repaint();

    Finish(verified, procedure.start, preamble, procedure.closeBeforeNotice);
    SetProgress(0);
    target.Close();
}

void TFirmwareUpdater::UpdateModelD() {
    Run(ModelDProcedure);
}
void TFirmwareUpdater::UpdateNew() {
    Run(NewProcedure);
}
void TFirmwareUpdater::UpdateOld() {
    Run(OldProcedure);
}

}  // namespace update
