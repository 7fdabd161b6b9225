// The module exports exactly its two entry points.
#include <cstdio>
#include <memory>
#include <set>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

namespace {

std::set<std::string> DefinedDynamicSymbols(const std::string& path) {
    const std::string command = "nm -D --defined-only '" + path + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), &pclose);
    if (pipe == nullptr) {
        return {};
    }
    std::set<std::string> symbols;
    char line[512];
    while (std::fgets(line, sizeof(line), pipe.get()) != nullptr) {
        std::istringstream fields(line);
        std::string address, type, name;
        if (fields >> address >> type >> name) {
            symbols.insert(name);
        }
    }
    return symbols;
}

TEST(ExportsTest, OnlyTheTwoEntryPoints) {
    EXPECT_EQ(DefinedDynamicSymbols(QUORVEL_MODULE_PATH),
              (std::set<std::string>{"EffectMain", "PluginDataEntryFunction"}));
}

}  // namespace
