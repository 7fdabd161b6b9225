#pragma once

#include "host_api/effect.h"

// Who the effect is: the values given to the host at registration, repeated in the PiPL
// resource and set again at PF_Cmd_GLOBAL_SETUP. One place, so the three cannot drift apart.

constexpr char kEffectName[] = "Quorvel";
constexpr char kEffectMatchName[] = "Velmoran Quorvel";
constexpr char kEffectCategory[] = "Velmoran";
constexpr char kEntryPointName[] = "EffectMain";
constexpr A_long kEffectKind = PF_KIND_EFFECT;

// The effect API version the module is written against, and the host's reserved info word.
constexpr A_long kEffectApiMajorVersion = 13;
constexpr A_long kEffectApiMinorVersion = 28;
constexpr A_long kEffectReservedInfo = 8;

constexpr A_long MAJOR_VERSION = 1;
constexpr A_long MINOR_VERSION = 0;
constexpr A_long BUG_VERSION = 0;
constexpr A_long STAGE_VERSION = 3;  // release
constexpr A_long BUILD_VERSION = 0;

// The host's packed version word: major, minor, bug fix, stage and build in fixed bit fields.
constexpr A_u_long PackEffectVersion(A_long major, A_long minor, A_long bug, A_long stage,
                                     A_long build) {
    return (static_cast<A_u_long>(major) << 19) | (static_cast<A_u_long>(minor) << 15) |
           (static_cast<A_u_long>(bug) << 11) | (static_cast<A_u_long>(stage) << 9) |
           static_cast<A_u_long>(build);
}

constexpr A_u_long EFFECT_VERSION =
    PackEffectVersion(MAJOR_VERSION, MINOR_VERSION, BUG_VERSION, STAGE_VERSION, BUILD_VERSION);
static_assert(EFFECT_VERSION == 0x80600, "1.0.0, release stage, build 0");

constexpr A_long kGlobalOutFlags =
    PF_OutFlag_NON_PARAM_VARY | PF_OutFlag_SEQUENCE_DATA_NEEDS_FLATTENING |
    PF_OutFlag_USE_OUTPUT_EXTENT | PF_OutFlag_PIX_INDEPENDENT | PF_OutFlag_CUSTOM_UI |
    PF_OutFlag_DEEP_COLOR_AWARE | PF_OutFlag_SEND_UPDATE_PARAMS_UI;
static_assert(kGlobalOutFlags == 0x6008454, "global out-flags word");

constexpr A_long kGlobalOutFlags2 =
    PF_OutFlag2_SUPPORTS_QUERY_DYNAMIC_FLAGS | PF_OutFlag2_SUPPORTS_SMART_RENDER |
    PF_OutFlag2_FLOAT_COLOR_AWARE | PF_OutFlag2_SUPPORTS_GET_FLATTENED_SEQUENCE_DATA |
    PF_OutFlag2_SUPPORTS_THREADED_RENDERING;
static_assert(kGlobalOutFlags2 == 0x8801401, "second out-flags word");
