#pragma once
// The keyboard as quorvanectl's commands reach it: libHidServ.so loaded from quorvanectl's own
// folder exactly as the program loads it, the listeners registered, and the command set ready.
//
//     std::string error;
//     auto session = qv::cli::OpenKeyboard(&error);
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
    explicit DeviceSession(std::unique_ptr<device::DeviceLink> link) : link_(std::move(link)) {}

    device::CommandSet& Commands() { return link_->Commands(); }
    device::DeviceLink& Link() { return *link_; }
    int KeyboardCount() const { return link_->KeyboardCount(); }

private:
    std::unique_ptr<device::DeviceLink> link_;
};

// The folder quorvanectl runs from (where libHidServ.so lives).
std::filesystem::path ProgramFolder();

// A started session with at least one keyboard present; nullptr and a one-line reason ("no
// keyboard is present", or why the HID service could not be used) otherwise.
std::unique_ptr<DeviceSession> OpenKeyboard(std::string* error);
// The same, also when no keyboard is present (for commands that report the count).
std::unique_ptr<DeviceSession> OpenDeviceService(std::string* error);

// "result -2 (no answer from the keyboard)" for a failed command's code.
std::string DescribeResult(int code);

}  // namespace qv::cli
