#include "host/basic_suite.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "host/host.h"

namespace quorvel::host {

namespace {

constexpr char kBlockItem[] = "block of the basic suite";

SPErr AcquireSuite(const char* name, A_long version, const void** suite) {
    return Host::Current().suites().Acquire(name, version, suite);
}

SPErr ReleaseSuite(const char* name, A_long version) {
    return Host::Current().suites().Release(name, version);
}

A_Boolean IsEqual(const char* token1, const char* token2) {
    return token1 != nullptr && token2 != nullptr && std::strcmp(token1, token2) == 0;
}

SPErr AllocateBlock(size_t size, void** block) {
    Host& host = Host::Current();
    if (block == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *block = nullptr;
    if (const auto fault = host.faults().Enter("AllocateBlock")) {
        return fault->Result(kSPNoError);
    }
    *block = std::malloc(size > 0 ? size : 1);
    if (*block == nullptr) {
        return PF_Err_OUT_OF_MEMORY;
    }
    host.ledger().Take(kBlockItem);
    return kSPNoError;
}

SPErr FreeBlock(void* block) {
    if (block == nullptr) {
        return kSPNoError;
    }
    Host::Current().ledger().Give(kBlockItem);
    std::free(block);
    return kSPNoError;
}

SPErr ReallocateBlock(void* block, size_t size, void** newBlock) {
    if (newBlock == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    if (block == nullptr) {
        return AllocateBlock(size, newBlock);
    }
    void* moved = std::realloc(block, size > 0 ? size : 1);
    if (moved == nullptr) {
        return PF_Err_OUT_OF_MEMORY;
    }
    *newBlock = moved;
    return kSPNoError;
}

SPErr Undefined() {
    return PF_Err_BAD_CALLBACK_PARAM;
}

SPBasicSuite basicSuite = {&AcquireSuite, &ReleaseSuite,    &IsEqual,  &AllocateBlock,
                           &FreeBlock,    &ReallocateBlock, &Undefined};

}  // namespace

SPBasicSuite* BasicSuite() {
    return &basicSuite;
}

}  // namespace quorvel::host
