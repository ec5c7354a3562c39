// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <chrono>
#include <thread>

#include "support/ChildProcess.h"

namespace testing_support {
namespace {

std::string Quoted(const std::string& arg) {
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
    std::string out = "\"";
    for (char c : arg) {
        if (c == '"') out += '\\';
        out += c;
    }
    return out + "\"";
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv,
                           const std::vector<std::pair<std::string, std::string>>& env,
                           const std::string& output) {
    std::string command;
    for (const std::string& a : argv) command += (command.empty() ? "" : " ") + Quoted(a);
    // The child inherits the environment as it is while it starts.
    std::vector<std::pair<std::string, std::string>> saved;
    for (const auto& [name, value] : env) {
        char buffer[32768];
        const DWORD got = ::GetEnvironmentVariableA(name.c_str(), buffer, sizeof buffer);
        saved.push_back({name, got > 0 ? std::string(buffer, got) : std::string()});
        ::SetEnvironmentVariableA(name.c_str(), value.empty() ? nullptr : value.c_str());
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    HANDLE out = INVALID_HANDLE_VALUE;
    if (!output.empty()) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        out = ::CreateFileA(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = out;
        startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    }
    PROCESS_INFORMATION info{};
    // Under wine on a loaded machine a start now and then fails for a moment: tried again.
    for (int attempt = 0; attempt < 5 && pid <= 0; ++attempt) {
        if (attempt > 0) ::Sleep(200);
        if (::CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                             &info)) {
            ::CloseHandle(info.hThread);
            pid = static_cast<long>(reinterpret_cast<intptr_t>(info.hProcess));
        }
    }
    if (out != INVALID_HANDLE_VALUE) ::CloseHandle(out);
    for (const auto& [name, value] : saved)
        ::SetEnvironmentVariableA(name.c_str(), value.empty() ? nullptr : value.c_str());
}

ChildProcess::~ChildProcess() {
    if (pid > 0 && !waited) {
        Kill();
        Wait();
    }
}

// As a crash would: the process ends where it stands.
void ChildProcess::Kill() {
    if (pid > 0 && !waited) ::TerminateProcess(reinterpret_cast<HANDLE>(static_cast<intptr_t>(pid)), 128 + 9);
}

int ChildProcess::Wait() {
    if (pid <= 0) return -1;
    if (!waited) {
        const HANDLE process = reinterpret_cast<HANDLE>(static_cast<intptr_t>(pid));
        ::WaitForSingleObject(process, INFINITE);
        DWORD code = 0;
        ::GetExitCodeProcess(process, &code);
        ::CloseHandle(process);
        status = static_cast<int>(code);
        waited = true;
    }
    return status;
}

void SleepMilliseconds(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace testing_support
