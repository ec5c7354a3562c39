// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/SectorTarget.h"
#include "update/FirmwarePackage.h"

struct TAcquisitionState;

namespace update {

inline constexpr uint32_t ChunkSectors = 32;
inline constexpr size_t ChunkBytes = ChunkSectors * platform::SectorSize;

extern const char* const NotFoundText;
extern const char* const TransmitText;
extern const char* const VerifyText;
extern const char* const StartProgrammerText;
extern const char* const SuccessText;
extern const char* const ErrorText;
extern const char* const StartNotSentText;
extern const char* const TargetTooSmallText;

// The working buffers, static and aligned for unbuffered transfers.
struct TFirmwareBuffers {
    alignas(platform::SectorBufferAlignment) uint8_t Loader[4096];
    alignas(platform::SectorBufferAlignment) uint8_t Firmware[65536];
    alignas(platform::SectorBufferAlignment) uint8_t Data[131072];
    alignas(platform::SectorBufferAlignment) uint8_t ReadBack[262144];
};
TFirmwareBuffers& Buffers();

// Copies a package's blocks of a method into the buffers. The loader block fills the
// start of the loader buffer; the bytes behind it keep what they held.
void StageModelD(const TFirmwarePackage& package);
void StageFamily(const TFirmwarePackage& package, std::span<const uint8_t> loaderBlock);

// What the procedures need of the receiver: the opened target and the file attributes.
class IUpdateTarget {
public:
    virtual ~IUpdateTarget() = default;
    virtual platform::TargetOpen Open(const std::string& path, bool writable) = 0;
    virtual bool IsOpen() const = 0;
    virtual void Close() = 0;
    // Size of the opened target in bytes; -1 when it cannot be told.
    virtual long long Size() = 0;
    virtual long long ReadAt(uint64_t offset, void* buffer, size_t size) = 0;
    virtual long long WriteAt(uint64_t offset, const void* buffer, size_t size) = 0;
    virtual bool Flush() = 0;
    virtual bool SetAttributes(const std::string& path, unsigned attributes) = 0;
};

// The receiver itself, through the platform.
class TPlatformUpdateTarget : public IUpdateTarget {
public:
    platform::TargetOpen Open(const std::string& path, bool writable) override {
        return target.Open(path, writable);
    }
    bool IsOpen() const override { return target.IsOpen(); }
    void Close() override { target.Close(); }
    long long Size() override { return target.Size(); }
    long long ReadAt(uint64_t o, void* b, size_t n) override { return target.ReadAt(o, b, n); }
    long long WriteAt(uint64_t o, const void* b, size_t n) override { return target.WriteAt(o, b, n); }
    bool Flush() override { return target.Flush(); }
    bool SetAttributes(const std::string& path, unsigned attributes) override;

private:
    platform::SectorTarget target;
};

// What the procedures show: the update dialog, its message boxes and the two dialogs.
class IUpdateView {
public:
    virtual ~IUpdateView() = default;
    virtual void SetStatus(const std::string& text) = 0;
    virtual void SetProgressMaximum(int maximum) = 0;
    virtual void SetProgress(int position) = 0;
    virtual void Repaint() = 0;
    virtual void ShowMessage(const std::string& text) = 0;
    virtual void ShowUpdateInfo() = 0;
    virtual void ShowNoAdmin() = 0;
    virtual void CloseDialog() = 0;
};

enum class TUpdateMethod { None, ModelD, New, Old };

enum class TImage { Loader, Firmware, Data };

// Where an image goes: from `sector` on, 32 sectors at a time; or, through the receiver's
// window, every chunk k to `sector` after the command firstWindowCommand + k.
struct TPlacement {
    TImage image;
    uint32_t sector = 0;
    uint16_t firstWindowCommand = 0;  // 0: written in place
};

// One transfer method as data: what it writes where, and the commands around it.
struct TProcedure {
    const char* file;  // on the receiver's drive; null: the raw volume
    bool modelD;       // takes the D family's package
    void (*stage)(const TFirmwarePackage&);
    TPreamble TFirmwarePackage::*preamble;
    uint16_t unlock[2];  // before anything is written; both must reach the receiver
    std::span<const TPlacement> images;
    uint16_t commit;  // after the writes
    uint16_t start;   // after a verification that passed
    int progressMaximum;
    bool closeBeforeNotice = false;  // the target is closed before the success is shown
};
extern const TProcedure ModelDProcedure, NewProcedure, OldProcedure;

// The last sector a procedure writes: the target must reach it.
uint32_t HighestSector(const TProcedure& procedure);

// Which procedure a press of Start runs.
TUpdateMethod ChooseMethod(const std::string& model, int version, const std::vector<std::string>& arguments);

// The offer at start: a package for the receiver's family is installed and newer than the
// receiver's firmware. Simulator packages are never offered; only the command line opens
// the dialog for them.
bool FirmwareOfferDue(const std::string& model, int version, const TPackageChoice& installed);

class TFirmwareUpdater {
public:
    TFirmwareUpdater(IUpdateTarget& target, IUpdateView& view, TAcquisitionState& state,
                     std::vector<std::string> arguments, std::vector<std::string> packageRoots)
        : target(target),
          view(view),
          state(state),
          arguments(std::move(arguments)),
          packageRoots(std::move(packageRoots)) {}

    bool ReadSectors(uint32_t first, int count, uint8_t* buffer);
    bool WriteSectors(uint32_t first, int count, const uint8_t* buffer);
    // True when all 17 sectors of the sequence were read whole.
    bool SendCommand(const TPreamble& preamble, uint16_t command);

    void StartButtonClick();
    void UpdateModelD();
    void UpdateNew();
    void UpdateOld();

    int Progress() const { return progress; }

private:
    // Detects the receiver, finds its package and stages the blocks. NoDrive after the
    // not-found message or when no sound package is installed (after saying so).
    int Begin(void (*stage)(const TFirmwarePackage&), bool modelD);
    // Opens the target read-only, checks that every sector the procedure touches lies
    // inside it and sends the two commands before writing; false after the error shown.
    bool Unlock(const std::string& path, const TPreamble& preamble, uint32_t lastSector, uint16_t first,
                uint16_t second);
    void Abort(const std::string& message);
    // Writes each image, reads it back, and starts the receiver when both agree. Stops at
    // the first write or command that failed: the receiver gets nothing more.
    void Run(const TProcedure& procedure);
    // An image written from its buffer or read into the read-back buffer (filled with FF
    // first), piece by piece with a progress step each; false at the first failed write or
    // window command.
    bool MoveImage(const TPlacement& place, const TPreamble& preamble, bool write);
    bool MovePiece(const TPlacement& place, uint32_t k, const TPreamble& preamble, uint8_t* bytes,
                   uint32_t sectors, bool write);
    // A write or command that failed ends the transfer there: the receiver gets nothing more.
    void Failed() { Abort(ErrorText); }
    void OpenTarget(const std::string& path, bool writable);
    void SetProgress(int position);
    void Advance(int by) { SetProgress(progress + by); }
    void SetMaximum(int maximum);
    void Finish(bool verified, uint16_t startCommand, const TPreamble& preamble, bool closeFirst);

    IUpdateTarget& target;
    IUpdateView& view;
    TAcquisitionState& state;
    std::vector<std::string> arguments;
    std::vector<std::string> packageRoots;
    std::optional<TFirmwarePackage> package;
    int progress = 0, maximum = 100;
    bool rightsNoticeShown = false;
};

}  // namespace update
