#include "hidserv/sim/sim_keyboard.h"

#include <algorithm>

#include "hidserv/sim_control.h"
#include "protocol/default_settings_block.h"
#include "protocol/key_matrix.h"
#include "protocol/report_frame.h"

namespace qv::hidserv {
namespace fr = qv::device::frame;
namespace mem = qv::protocol;

SimKeyboard::SimKeyboard() { ResetToFactory(); }

void SimKeyboard::ResetToFactory() {
    global_.fill(0);
    global_[mem::kActiveProfileAt] = 0;
    global_[mem::kMacroCapacityAt] = kDefaultCapacity;
    // Effects 1..18 and 20.
    for (int i = 0; i < 18; ++i) global_[mem::kEffectsAt + i] = static_cast<std::uint8_t>(i + 1);
    global_[mem::kEffectsAt + 18] = 20;
    settings_.fill(0);
    factory_ = BuiltInFactoryMatrix();
    for (int p = 0; p < mem::kProfileCount; ++p) {
        std::copy(kDefaultSettingsBlock.begin(), kDefaultSettingsBlock.end(),
                  settings_.begin() + mem::SettingsAddress(p));
        std::copy(factory_.begin(), factory_.end(), matrices_.begin() + mem::KeyMatrixAddress(p));
    }
    macro_.fill(0);
    colours_.fill(0xFF);
    status_ = mem::kInitialStatusReport;
    updateMode_ = false;
    configDepth_ = 0;
    dirty_ = true;
}

std::size_t SimKeyboard::MacroCapacity() const {
    return std::min(mem::MacroCapacityBytes(global_[mem::kMacroCapacityAt]), macro_.size());
}

std::span<std::uint8_t> SimKeyboard::Area(int area) {
    const auto& self = *this;
    const auto a = self.Area(area);
    return {const_cast<std::uint8_t*>(a.data()), a.size()};
}

std::span<const std::uint8_t> SimKeyboard::Area(int area) const {
    switch (area) {
        case QV_SIM_GLOBAL: return global_;
        case QV_SIM_SETTINGS: return settings_;
        case QV_SIM_KEY_MATRICES: return matrices_;
        case QV_SIM_MACRO: return macro_;
        case QV_SIM_FACTORY: return factory_;
        case QV_SIM_KEY_COLOURS: return colours_;
        case QV_SIM_STATUS: return status_;
        default: return {};
    }
}

bool SimKeyboard::ReadArea(int area, std::size_t offset, std::span<std::uint8_t> out) const {
    if (area == QV_SIM_UPDATE_MODE) {
        if (offset != 0 || out.size() > 1) return false;
        if (!out.empty()) out[0] = updateMode_ ? 1 : 0;
        return true;
    }
    const auto a = Area(area);
    if (offset > a.size() || out.size() > a.size() - offset) return false;
    std::copy_n(a.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
    return true;
}

bool SimKeyboard::WriteArea(int area, std::size_t offset, std::span<const std::uint8_t> data) {
    if (area == QV_SIM_UPDATE_MODE) {
        if (offset != 0 || data.size() > 1) return false;
        if (!data.empty()) updateMode_ = data[0] != 0;
        return true;
    }
    auto a = Area(area);
    if (offset > a.size() || data.size() > a.size() - offset) return false;
    std::copy(data.begin(), data.end(), a.begin() + static_cast<std::ptrdiff_t>(offset));
    if (area != QV_SIM_STATUS) dirty_ = true;
    return true;
}

void SimKeyboard::SetStatusReport(std::span<const std::uint8_t> status) {
    for (std::size_t i = 0; i < status_.size() && i < status.size(); ++i) status_[i] = status[i];
}

void SimKeyboard::RefusalAnswer(std::span<const std::uint8_t, 64> frame, std::uint8_t status,
                                std::span<std::uint8_t, 64> answer) {
    std::fill(answer.begin(), answer.end(), 0);
    answer[fr::kReportIdAt] = fr::kReportId;
    answer[fr::kCommand] = frame[fr::kCommand];
    answer[fr::kLength] = frame[fr::kLength];
    answer[fr::kAddressLow] = frame[fr::kAddressLow];
    answer[fr::kAddressHigh] = frame[fr::kAddressHigh];
    answer[fr::kStatus] = status;
    fr::StoreChecksum(answer.data());
}

bool SimKeyboard::HandleFrame(std::span<const std::uint8_t, 64> frame,
                              std::span<std::uint8_t, 64> answer) {
    const std::uint8_t command = frame[fr::kCommand];
    // The firmware loader's frame is the only one without a checksum; it is never answered, and
    // neither is anything after it.
    if (command == fr::kUpdateMode && frame[fr::kLength] == fr::kUpdateMode) {
        updateMode_ = true;
        return false;
    }
    if (updateMode_) return false;

    std::fill(answer.begin(), answer.end(), 0);
    answer[fr::kReportIdAt] = fr::kReportId;
    answer[fr::kCommand] = command;
    answer[fr::kLength] = frame[fr::kLength];
    answer[fr::kAddressLow] = frame[fr::kAddressLow];
    answer[fr::kAddressHigh] = frame[fr::kAddressHigh];
    auto finish = [&](std::uint8_t status) {
        answer[fr::kStatus] = status;
        fr::StoreChecksum(answer.data());
        return true;
    };
    if (frame[fr::kReportIdAt] != fr::kReportId) return finish(kRefused);
    if (!fr::ChecksumMatches(frame.data())) return finish(kBadChecksum);

    const std::size_t length = frame[fr::kLength];
    const std::size_t address = static_cast<std::size_t>(fr::Address(frame.data()));
    const std::uint8_t* data = frame.data() + fr::kData;
    std::uint8_t* out = answer.data() + fr::kData;

    // Block reads and writes: a piece of at most 56 bytes wholly inside the area.
    auto fits = [&](std::size_t areaSize) {
        return length <= fr::kMaxData && address <= areaSize && length <= areaSize - address;
    };
    auto readBlock = [&](std::span<const std::uint8_t> area) {
        if (!fits(area.size())) return finish(kRefused);
        std::copy_n(area.begin() + static_cast<std::ptrdiff_t>(address), length, out);
        return finish(kOk);
    };
    auto writeBlock = [&](std::span<std::uint8_t> area) {
        if (!fits(area.size())) return finish(kRefused);
        std::copy_n(data, length, area.begin() + static_cast<std::ptrdiff_t>(address));
        dirty_ = true;
        return finish(kOk);
    };

    switch (command) {
        case fr::kBeginConfig:
            ++configDepth_;
            return finish(kOk);
        case fr::kEndConfig:
            if (configDepth_ > 0) --configDepth_;
            return finish(kOk);
        case fr::kReadGlobalBlock:
            std::copy(global_.begin(), global_.end(), out);
            answer[fr::kLength] = static_cast<std::uint8_t>(global_.size());
            return finish(kOk);
        case fr::kWriteGlobalBlock: {
            if (length != global_.size()) return finish(kRefused);
            if (data[mem::kActiveProfileAt] >= mem::kProfileCount) return finish(kRefused);
            // Capacity and the effect list belong to the firmware.
            std::copy_n(data, mem::kGlobalWritableBytes, global_.begin());
            dirty_ = true;
            return finish(kOk);
        }
        case fr::kReadSettingsMemory: {
            // Answers 56 bytes from the address whatever the length; past the end reads as 0.
            if (address >= settings_.size()) return finish(kRefused);
            const std::size_t n = std::min(fr::kMaxData, settings_.size() - address);
            std::copy_n(settings_.begin() + static_cast<std::ptrdiff_t>(address), n, out);
            return finish(kOk);
        }
        case fr::kWriteSettingsMemory: return writeBlock(settings_);
        case fr::kReadKeyMatrix: return readBlock(matrices_);
        case fr::kWriteKeyMatrix: return writeBlock(matrices_);
        case fr::kReadMacroMemory:
            return readBlock(std::span<const std::uint8_t>(macro_.data(), MacroCapacity()));
        case fr::kWriteMacroMemory:
            return writeBlock(std::span<std::uint8_t>(macro_.data(), MacroCapacity()));
        case fr::kReadDefaultKeyMatrix: return readBlock(factory_);
        case fr::kWriteKeyColours: return writeBlock(colours_);
        default: return finish(kRefused);
    }
}

std::vector<std::uint8_t> SimKeyboard::MemoryImage() const {
    std::vector<std::uint8_t> image;
    image.reserve(kMemoryImageSize);
    for (const auto area : {std::span<const std::uint8_t>(global_), std::span<const std::uint8_t>(settings_),
                            std::span<const std::uint8_t>(matrices_), std::span<const std::uint8_t>(macro_),
                            std::span<const std::uint8_t>(factory_), std::span<const std::uint8_t>(colours_)}) {
        image.insert(image.end(), area.begin(), area.end());
    }
    return image;
}

bool SimKeyboard::LoadMemoryImage(std::span<const std::uint8_t> image) {
    if (image.size() != kMemoryImageSize) return false;
    auto at = image.begin();
    for (const auto area : {std::span<std::uint8_t>(global_), std::span<std::uint8_t>(settings_),
                            std::span<std::uint8_t>(matrices_), std::span<std::uint8_t>(macro_),
                            std::span<std::uint8_t>(factory_), std::span<std::uint8_t>(colours_)}) {
        std::copy_n(at, area.size(), area.begin());
        at += static_cast<std::ptrdiff_t>(area.size());
    }
    dirty_ = false;
    return true;
}

}  // namespace qv::hidserv
