#pragma once
// The keyboard as quorvanectl's commands reach it: libHidServ.so loaded from quorvanectl's own
// folder exactly as the program loads it, the listeners registered, and the command set ready.
//
//     std::string error;
//     auto session = qv::cli::Env().openKeyboard(&error);
//     if (!session) return qv::cli::Fail(1, error);
//     session->Commands().ReadGlobalBlock(block);

#include <filesystem>
#include <memory>
#include <string>

#include "core/device/command_set.h"
#include "core/device/device_link.h"

namespace qv::cli {

class DeviceSession {
public:
    explicit DeviceSession(std::unique_ptr<device::DeviceLink> link) : owned_(std::move(link)), link_(*owned_) {}
    // A link someone else keeps open (tests run commands on their own simulated keyboard).
    explicit DeviceSession(device::DeviceLink& link) : link_(link) {}
    // A link kept open elsewhere outlives the session: it stops printing frames with it.
    ~DeviceSession() {
        if (tracing_) link_.Engine().SetFrameSink({});
    }
    DeviceSession(const DeviceSession&) = delete;
    DeviceSession& operator=(const DeviceSession&) = delete;

    // Every frame sent and every answer, as one line each, to `sink`.
    void TraceFrames(device::RequestEngine::FrameSink sink) {
        link_.Engine().SetFrameSink(std::move(sink));
        tracing_ = true;
    }

    device::CommandSet& Commands() { return link_.Commands(); }
    device::DeviceLink& Link() { return link_; }
    int KeyboardCount() const { return link_.KeyboardCount(); }

private:
    std::unique_ptr<device::DeviceLink> owned_;
    device::DeviceLink& link_;
    bool tracing_ = false;
};

// The library in `folder`, started; nullptr and a reason when it cannot be used.
std::unique_ptr<DeviceSession> OpenDeviceService(const std::filesystem::path& folder, std::string* error);
// The same, and nullptr with "no keyboard is present" when none is.
std::unique_ptr<DeviceSession> OpenKeyboard(const std::filesystem::path& folder, std::string* error);
// A session's keyboard check, for sessions opened elsewhere; `folder` is the program folder
// whose udev rule the advice names when the keyboard is there but cannot be opened.
std::unique_ptr<DeviceSession> RequireKeyboard(std::unique_ptr<DeviceSession> session,
                                               const std::filesystem::path& folder, std::string* error);

// "result -2 (no answer from the keyboard)" for a failed command's code.
std::string DescribeResult(int code);

}  // namespace qv::cli
