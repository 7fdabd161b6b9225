#pragma once

#include <string>

#include "host_api/effect.h"
#include "shell/toolkit/errors.h"
#include "shell/toolkit/host_message.h"

// Runs body and turns every failure it throws into a host error code: a HostFailure gives its
// Code(), and an Exception with a message also posts the message for the host to show;
// anything else is PF_Err_OUT_OF_MEMORY. Nothing is rethrown.
template <typename Body>
PF_Err ConvertFailures(const PF_InData* in_data, PF_OutData* out_data, Body&& body) noexcept {
    try {
        return body();
    } catch (const Exception& exception) {
        try {
            const std::string message = exception.what();
            if (!message.empty()) {
                PostErrorMessage(in_data, out_data, message.c_str());
            }
        } catch (...) {
            // The code still reaches the host when the message cannot be copied.
        }
        return exception.err;
    } catch (const HostFailure& failure) {
        return failure.Code();
    } catch (...) {
        return PF_Err_OUT_OF_MEMORY;
    }
}

// The narrower catch of the sequence-data handlers: a HostCode is its code, anything else (an
// Exception too) is PF_Err_OUT_OF_MEMORY, and no message is posted.
template <typename Body>
PF_Err ConvertFailuresToCode(Body&& body) noexcept {
    try {
        return body();
    } catch (const HostCode& failure) {
        return failure.code;
    } catch (...) {
        return PF_Err_OUT_OF_MEMORY;
    }
}
