/* The host's basic suite and the PF suites that the module acquires by name and version. */
#ifndef QUORVEL_HOST_API_SUITES_H
#define QUORVEL_HOST_API_SUITES_H

#include "host_api/effect.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef A_long SPErr;
#define kSPNoError 0

/* ---- Basic suite ---------------------------------------------------------------------- */
typedef struct SPBasicSuite {
    SPErr (*AcquireSuite)(const char* name, A_long version, const void** suite);
    SPErr (*ReleaseSuite)(const char* name, A_long version);
    A_Boolean (*IsEqual)(const char* token1, const char* token2);
    SPErr (*AllocateBlock)(size_t size, void** block);
    SPErr (*FreeBlock)(void* block);
    SPErr (*ReallocateBlock)(void* block, size_t newSize, void** newblock);
    SPErr (*Undefined)(void);
} SPBasicSuite;

/* ---- PF Handle Suite ------------------------------------------------------------------ */
#define kPFHandleSuite "PF Handle Suite"
#define kPFHandleSuiteVersion2 2

typedef struct PF_HandleSuite2 {
    PF_Handle (*host_new_handle)(uint64_t size);
    void* (*host_lock_handle)(PF_Handle pf_handle);
    void (*host_unlock_handle)(PF_Handle pf_handle);
    void (*host_dispose_handle)(PF_Handle pf_handle);
    uint64_t (*host_get_handle_size)(PF_Handle pf_handle);
    PF_Err (*host_resize_handle)(uint64_t new_sizeL, PF_Handle* handlePH);
} PF_HandleSuite2;

/* ---- PF ANSI Suite -------------------------------------------------------------------- */
#define kPFANSISuite "PF ANSI Suite"
#define kPFANSISuiteVersion1 1

typedef struct PF_ANSICallbacksSuite1 {
    A_long (*sprintf)(A_char* buffer, const A_char* format, ...);
    A_char* (*strcpy)(A_char* dest, const A_char* src);
} PF_ANSICallbacksSuite1;

/* ---- PF Param Utils Suite ------------------------------------------------------------- */
#define kPFParamUtilsSuite "PF Param Utils Suite"
#define kPFParamUtilsSuiteVersion3 3

typedef struct PF_ParamUtilsSuite3 {
    PF_Err (*PF_UpdateParamUI)(PF_ProgPtr effect_ref, PF_ParamIndex param_index,
                               const PF_ParamDef* defP);
} PF_ParamUtilsSuite3;

/* ---- AEGP Utility Suite (registration for the AEGP suites) ---------------------------- */
#define kAEGPUtilitySuite "AEGP Utility Suite"
#define kAEGPUtilitySuiteVersion7 7

typedef A_long AEGP_PluginID;
typedef void* AEGP_GlobalRefcon;

typedef struct AEGP_UtilitySuite7 {
    A_Err (*AEGP_RegisterWithAEGP)(AEGP_GlobalRefcon global_refcon, const A_char* plugin_name,
                                   AEGP_PluginID* plugin_id);
} AEGP_UtilitySuite7;

/* ---- PF World Suite ------------------------------------------------------------------- */
#define kPFWorldSuite "PF World Suite"
#define kPFWorldSuiteVersion2 2

typedef struct PF_WorldSuite2 {
    PF_Err (*PF_NewWorld)(PF_ProgPtr effect_ref, A_long widthL, A_long heightL,
                          PF_Boolean clear_pixB, PF_PixelFormat pixel_format,
                          PF_EffectWorld* worldP);
    PF_Err (*PF_DisposeWorld)(PF_ProgPtr effect_ref, PF_EffectWorld* worldP);
    PF_Err (*PF_GetPixelFormat)(const PF_EffectWorld* worldP, PF_PixelFormat* pixel_formatP);
} PF_WorldSuite2;

/* ---- PF Pixel Data Suite -------------------------------------------------------------- */
#define kPFPixelDataSuite "PF Pixel Data Suite"
#define kPFPixelDataSuiteVersion1 1

typedef struct PF_PixelDataSuite1 {
    PF_Err (*get_pixel_data8)(PF_EffectWorld* worldP, PF_PixelPtr pixelsP0, PF_Pixel8** pixPP);
    PF_Err (*get_pixel_data16)(PF_EffectWorld* worldP, PF_PixelPtr pixelsP0,
                               PF_Pixel16** pixPP);
    PF_Err (*get_pixel_data_float)(PF_EffectWorld* worldP, PF_PixelPtr pixelsP0,
                                   PF_PixelFloat** pixPP);
} PF_PixelDataSuite1;

/* ---- PF iterateFloat Suite ------------------------------------------------------------ */
#define kPFIterateFloatSuite "PF iterateFloat Suite"
#define kPFIterateFloatSuiteVersion1 1

typedef PF_Err (*PF_IteratePixelFloatFunc)(void* refconP, A_long xL, A_long yL,
                                           PF_PixelFloat* inP, PF_PixelFloat* outP);

typedef struct PF_iterateFloatSuite1 {
    PF_Err (*iterate)(PF_InData* in_data, A_long progress_base, A_long progress_final,
                      PF_EffectWorld* src, const PF_Rect* area, void* refcon,
                      PF_IteratePixelFloatFunc pix_fn, PF_EffectWorld* dst);
} PF_iterateFloatSuite1;

/* ---- PF Path Query Suite and PF Path Data Suite --------------------------------------- */
#define kPFPathQuerySuite "PF Path Query Suite"
#define kPFPathQuerySuiteVersion1 1
#define kPFPathDataSuite "PF Path Data Suite"
#define kPFPathDataSuiteVersion1 1

typedef struct PF_PathOutline* PF_PathOutlinePtr;
typedef struct PF_PathSegPrep* PF_PathSegPrepPtr;

typedef struct PF_PathQuerySuite1 {
    PF_Err (*PF_NumPaths)(PF_ProgPtr effect_ref, A_long* num_pathsPL);
    PF_Err (*PF_PathInfo)(PF_ProgPtr effect_ref, A_long indexL, PF_PathID* unique_idP);
    PF_Err (*PF_CheckoutPath)(PF_ProgPtr effect_ref, PF_PathID unique_id, A_long what_time,
                              A_long time_step, A_u_long time_scale, PF_PathOutlinePtr* pathPP);
    PF_Err (*PF_CheckinPath)(PF_ProgPtr effect_ref, PF_PathID unique_id, PF_Boolean changedB,
                             PF_PathOutlinePtr pathP);
} PF_PathQuerySuite1;

typedef struct PF_PathDataSuite1 {
    PF_Err (*PF_PathIsOpen)(PF_ProgPtr effect_ref, PF_PathOutlinePtr pathP, PF_Boolean* openPB);
    PF_Err (*PF_PathNumSegments)(PF_ProgPtr effect_ref, PF_PathOutlinePtr pathP,
                                 A_long* num_segmentsPL);
    PF_Err (*PF_PathPrepareSegLength)(PF_ProgPtr effect_ref, PF_PathOutlinePtr pathP,
                                      A_long which_segL, A_long frequencyL,
                                      PF_PathSegPrepPtr* lengthPrepPP);
    PF_Err (*PF_PathGetSegLength)(PF_ProgPtr effect_ref, PF_PathOutlinePtr pathP,
                                  A_long which_segL, PF_PathSegPrepPtr* lengthPrepP0,
                                  PF_FpLong* lengthPF);
    PF_Err (*PF_PathEvalSegLength)(PF_ProgPtr effect_ref, PF_PathOutlinePtr pathP,
                                   PF_PathSegPrepPtr* lengthPrepPP0, A_long which_segL,
                                   PF_FpLong lengthF, PF_FpLong* x, PF_FpLong* y);
    PF_Err (*PF_PathCleanupSegLength)(PF_ProgPtr effect_ref, PF_PathOutlinePtr pathP,
                                      A_long which_segL, PF_PathSegPrepPtr* lengthPrepPP);
} PF_PathDataSuite1;

/* ---- PF AE App Suite ------------------------------------------------------------------ */
#define kPFAppSuite "PF AE App Suite"
#define kPFAppSuiteVersion6 6

typedef struct PF_App_Color {
    A_u_short red, green, blue;
} PF_App_Color;
typedef A_long PF_App_ColorType;

typedef struct PF_AppSuite6 {
    PF_Err (*PF_AppGetBgColor)(PF_App_Color* bg_colorP);
    PF_Err (*PF_AppGetColor)(PF_App_ColorType color_type, PF_App_Color* app_colorP);
} PF_AppSuite6;

#ifdef __cplusplus
}
#endif

#endif
