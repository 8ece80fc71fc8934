#pragma once
// Header-only C++ client of the simulated keyboard's control interface: looks the control calls
// up in an already loaded libHidServ.so (dlopen handle) so callers need not link the library.

#include <dlfcn.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "hidserv/sim_control.h"

namespace qv::hidserv {

class SimControl {
public:
    // Valid() is false when the library lacks the control calls.
    explicit SimControl(void* libraryHandle) {
        valid_ = Bind(libraryHandle, "QvSimReset", reset_) && Bind(libraryHandle, "QvSimAttach", attach_) &&
                 Bind(libraryHandle, "QvSimSendConsumerCode", consumer_) &&
                 Bind(libraryHandle, "QvSimSetLatencyMicroseconds", latency_) &&
                 Bind(libraryHandle, "QvSimInjectFault", fault_) &&
                 Bind(libraryHandle, "QvSimClearFaults", clearFaults_) &&
                 Bind(libraryHandle, "QvSimScheduleFaults", schedule_) &&
                 Bind(libraryHandle, "QvSimSetInaccessible", inaccessible_) &&
                 Bind(libraryHandle, "QvSimReadMemory", read_) &&
                 Bind(libraryHandle, "QvSimWriteMemory", write_) &&
                 Bind(libraryHandle, "QvSimFrameCount", frameCount_) &&
                 Bind(libraryHandle, "QvSimFrameAt", frameAt_) &&
                 Bind(libraryHandle, "QvSimClearFrameLog", clearLog_) && Bind(libraryHandle, "QvSimSave", save_);
    }

    bool Valid() const { return valid_; }
    // 1 on success, -1 when the library does not run the simulated keyboard.
    int Reset(const std::string& statePath, bool attached) const {
        return reset_(statePath.empty() ? nullptr : statePath.c_str(), attached ? 1 : 0);
    }
    int Attach(bool attached) const { return attach_(attached ? 1 : 0); }
    int SendConsumerCode(std::uint16_t code) const { return consumer_(code); }
    int SetLatencyMicroseconds(std::uint32_t us) const { return latency_(us); }
    int InjectFault(QvSimFault fault, std::uint32_t count) const { return fault_(fault, count); }
    int ClearFaults() const { return clearFaults_(); }
    int ScheduleFaults(const std::string& list) const { return schedule_(list.c_str()); }
    int SetInaccessible(bool inaccessible) const { return inaccessible_(inaccessible ? 1 : 0); }
    std::vector<std::uint8_t> Read(QvSimArea area, std::uint32_t offset, std::uint32_t length) const {
        std::vector<std::uint8_t> out(length);
        if (read_(area, offset, out.data(), length) != 1) out.clear();
        return out;
    }
    int Write(QvSimArea area, std::uint32_t offset, const std::vector<std::uint8_t>& data) const {
        return write_(area, offset, data.data(), static_cast<std::uint32_t>(data.size()));
    }
    std::uint32_t FrameCount() const { return frameCount_(); }
    // The frames still kept, oldest first.
    std::vector<std::array<std::uint8_t, 64>> Frames() const {
        std::vector<std::array<std::uint8_t, 64>> frames;
        const std::uint32_t count = frameCount_();
        for (std::uint32_t i = 0; i < count; ++i) {
            std::array<std::uint8_t, 64> f{};
            if (frameAt_(i, f.data()) == 1) frames.push_back(f);
        }
        return frames;
    }
    int ClearFrameLog() const { return clearLog_(); }
    int Save() const { return save_(); }

private:
    template <typename Fn>
    static bool Bind(void* handle, const char* name, Fn& out) {
        void* symbol = handle != nullptr ? ::dlsym(handle, name) : nullptr;
        out = reinterpret_cast<Fn>(symbol);
        return symbol != nullptr;
    }

    bool valid_ = false;
    int (*reset_)(const char*, int) = nullptr;
    int (*attach_)(int) = nullptr;
    int (*consumer_)(std::uint16_t) = nullptr;
    int (*latency_)(std::uint32_t) = nullptr;
    int (*fault_)(int, std::uint32_t) = nullptr;
    int (*clearFaults_)() = nullptr;
    int (*schedule_)(const char*) = nullptr;
    int (*inaccessible_)(int) = nullptr;
    int (*read_)(int, std::uint32_t, std::uint8_t*, std::uint32_t) = nullptr;
    int (*write_)(int, std::uint32_t, const std::uint8_t*, std::uint32_t) = nullptr;
    std::uint32_t (*frameCount_)() = nullptr;
    int (*frameAt_)(std::uint32_t, std::uint8_t*) = nullptr;
    int (*clearLog_)() = nullptr;
    int (*save_)() = nullptr;
};

}  // namespace qv::hidserv
