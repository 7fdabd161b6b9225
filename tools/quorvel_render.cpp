// quorvel-render: loads the Quorvel module in the replacement host and drives it. This first
// version runs the built-in example: registration, GLOBAL_SETUP, ABOUT, a sequence set-up,
// flatten and set-down, and GLOBAL_SETDOWN, and prints what the host received.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "host/host.h"
#include "host_api/effect.h"
#include "tools/ui_pictures.h"

namespace {

using quorvel::host::CommandResult;
using quorvel::host::Host;

std::string FourChar(A_long code) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        text += static_cast<char>((static_cast<A_u_long>(code) >> shift) & 0xFF);
    }
    return text;
}

// The message with its carriage returns shown as line breaks.
std::string Printable(const std::string& message) {
    std::string text;
    for (char c : message) {
        text += c == '\r' ? std::string("\n    ") : std::string(1, c);
    }
    return text;
}

std::string Hex(const std::vector<uint8_t>& bytes) {
    std::string text;
    char byte[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(byte, sizeof(byte), i == 0 ? "%02X" : " %02X", bytes[i]);
        text += byte;
    }
    return text;
}

bool Report(const char* command, const CommandResult& result) {
    std::printf("%-26s result %d\n", command, static_cast<int>(result.err));
    if (!result.Message().empty()) {
        std::printf("  message: %s\n", Printable(result.Message()).c_str());
    }
    return result.err == PF_Err_NONE;
}

int Run(const std::string& modulePath) {
    Host host(modulePath);
    std::printf("module: %s\n", modulePath.c_str());

    const A_Err registered = host.Register();
    const auto& registration = host.registration();
    std::printf("registration               result %d\n", static_cast<int>(registered));
    std::printf("  name \"%s\", match name \"%s\", category \"%s\"\n", registration.name.c_str(),
                registration.matchName.c_str(), registration.category.c_str());
    std::printf("  entry point \"%s\", kind '%s', API %d.%d, reserved info %d\n",
                registration.entryPoint.c_str(), FourChar(registration.kind).c_str(),
                static_cast<int>(registration.apiMajorVersion),
                static_cast<int>(registration.apiMinorVersion),
                static_cast<int>(registration.reservedInfo));

    bool ok = registered == PF_Err_NONE;
    auto& effect = host.effect();
    const CommandResult setup = effect.Send(PF_Cmd_GLOBAL_SETUP);
    ok = Report("PF_Cmd_GLOBAL_SETUP", setup) && ok;
    std::printf("  version 0x%X, out_flags 0x%X, out_flags2 0x%X\n",
                static_cast<unsigned>(setup.out.my_version),
                static_cast<unsigned>(setup.out.out_flags),
                static_cast<unsigned>(setup.out.out_flags2));

    const CommandResult about = effect.Send(PF_Cmd_ABOUT);
    ok = Report("PF_Cmd_ABOUT", about) && ok;

    ok = Report("PF_Cmd_SEQUENCE_SETUP", effect.Send(PF_Cmd_SEQUENCE_SETUP)) && ok;
    std::printf("  live record: %s\n", Hex(host.handles().Bytes(effect.SequenceData())).c_str());
    ok = Report("PF_Cmd_SEQUENCE_FLATTEN", effect.Send(PF_Cmd_SEQUENCE_FLATTEN)) && ok;
    std::printf("  flat record: %s\n", Hex(effect.SavedSequence()).c_str());
    ok = Report("PF_Cmd_SEQUENCE_SETDOWN", effect.Send(PF_Cmd_SEQUENCE_SETDOWN)) && ok;
    ok = Report("PF_Cmd_GLOBAL_SETDOWN", effect.Send(PF_Cmd_GLOBAL_SETDOWN)) && ok;

    const bool balanced = host.ledger().IsBalanced();
    std::printf("ledger: %s\n", host.ledger().Describe().c_str());
    return ok && balanced ? 0 : 1;
}

void Usage() {
    std::fprintf(stderr, "usage: quorvel-render [--module PATH] [--ui DIRECTORY]\n");
}

}  // namespace

int main(int argc, char** argv) {
    std::string modulePath = QUORVEL_DEFAULT_MODULE_PATH;
    std::string uiDirectory;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--module") == 0 && i + 1 < argc) {
            modulePath = argv[++i];
        } else if (std::strcmp(argv[i], "--ui") == 0 && i + 1 < argc) {
            uiDirectory = argv[++i];
        } else {
            Usage();
            return 2;
        }
    }
    try {
        if (!uiDirectory.empty()) {
            return DrawUiPictures(modulePath, uiDirectory);
        }
        return Run(modulePath);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quorvel-render: %s\n", error.what());
        return 1;
    }
}
