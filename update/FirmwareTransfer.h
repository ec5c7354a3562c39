#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "platform/SectorTarget.h"
#include "update/LoaderBlocks.h"

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

// The working buffers, static and aligned for unbuffered transfers.
struct TFirmwareBuffers {
    alignas(platform::SectorBufferAlignment) uint8_t Loader[4096];
    alignas(platform::SectorBufferAlignment) uint8_t Firmware[65536];
    alignas(platform::SectorBufferAlignment) uint8_t Data[131072];
    alignas(platform::SectorBufferAlignment) uint8_t ReadBack[262144];
};
TFirmwareBuffers& Buffers();

// Copies the blocks of a method into the buffers; an unknown model leaves the images as
// they were.
void StageModelD();
void StageFamily(const std::string& model, std::span<const uint8_t> loaderBlock);

// What the procedures need of the receiver: the opened target and the file attributes.
class IUpdateTarget {
public:
    virtual ~IUpdateTarget() = default;
    virtual platform::TargetOpen Open(const std::string& path, bool writable) = 0;
    virtual bool IsOpen() const = 0;
    virtual void Close() = 0;
    virtual long long ReadAt(uint64_t offset, void* buffer, size_t size) = 0;
    virtual long long WriteAt(uint64_t offset, const void* buffer, size_t size) = 0;
    virtual bool Flush() = 0;
    virtual bool SetAttributes(const std::string& path, unsigned attributes) = 0;
};

// The receiver itself, through the platform.
class TPlatformUpdateTarget : public IUpdateTarget {
public:
    platform::TargetOpen Open(const std::string& path, bool writable) override { return target.Open(path, writable); }
    bool IsOpen() const override { return target.IsOpen(); }
    void Close() override { target.Close(); }
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

// Which procedure a press of Start runs.
TUpdateMethod ChooseMethod(const std::string& model, int version, const std::vector<std::string>& arguments);

// The version below which a model is offered the built-in firmware; 0 for no offer.
int MinimumFirmwareVersion(const std::string& model);
bool FirmwareOfferDue(const std::string& model, int version);

class TFirmwareUpdater {
public:
    TFirmwareUpdater(IUpdateTarget& target, IUpdateView& view, TAcquisitionState& state,
                     std::vector<std::string> arguments)
        : target(target), view(view), state(state), arguments(std::move(arguments)) {}

    bool ReadSectors(uint32_t first, int count, uint8_t* buffer);
    bool WriteSectors(uint32_t first, int count, const uint8_t* buffer);
    void SendCommand(const loader::TPreamble& preamble, uint16_t command);

    void StartButtonClick();
    void UpdateModelD();
    void UpdateNew();
    void UpdateOld();

    int Progress() const { return progress; }

private:
    // Detects the receiver and stages the blocks; NoDrive after the not-found message.
    int Begin(const std::function<void()>& stage);
    // Chunks of 32 sectors from firstSector on, with a progress step each.
    void WriteChunks(uint32_t firstSector, uint32_t chunks, const uint8_t* image);
    void ReadChunks(uint32_t firstSector, uint32_t chunks);
    void OpenTarget(const std::string& path, bool writable);
    void SetProgress(int position);
    void Advance(int by) { SetProgress(progress + by); }
    void SetMaximum(int maximum);
    void Finish(bool verified, uint16_t startCommand, const loader::TPreamble& preamble, bool closeFirst);

    IUpdateTarget& target;
    IUpdateView& view;
    TAcquisitionState& state;
    std::vector<std::string> arguments;
    int progress = 0, maximum = 100;
    bool rightsNoticeShown = false;
};

}  // namespace update
