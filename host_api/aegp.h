/* The host's AEGP interface as far as the effect walks it: from the effect instance to its
 * layer, the layer's masks, each mask's streams and their values, the outline's vertices,
 * and the host memory that carries stream names. */
#ifndef QUORVEL_HOST_API_AEGP_H
#define QUORVEL_HOST_API_AEGP_H

#include "host_api/suites.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Handles -------------------------------------------------------------------------- */
/* Every kind of handle has its own pointer type so that one cannot be passed for another. */
typedef struct _AEGP_EffectRefH* AEGP_EffectRefH;
typedef struct _AEGP_LayerH* AEGP_LayerH;
typedef struct _AEGP_MaskRefH* AEGP_MaskRefH;
typedef struct _AEGP_StreamRefH* AEGP_StreamRefH;
typedef struct _AEGP_MaskOutlineValH* AEGP_MaskOutlineValH;
typedef struct _AEGP_MemHandle* AEGP_MemHandle;

/* ---- Values --------------------------------------------------------------------------- */
typedef A_long AEGP_MaskIndex;
typedef A_long AEGP_VertexIndex;
typedef A_u_long AEGP_MemSize;

/* The host's colour order: alpha first. */
typedef struct AEGP_ColorVal {
    A_FpLong alphaF, redF, greenF, blueF;
} AEGP_ColorVal;

/* An outline vertex in layer coordinates, with its tangents as offsets from it. */
typedef struct AEGP_MaskVertex {
    A_FpLong x, y;
    A_FpLong tan_in_x, tan_in_y;
    A_FpLong tan_out_x, tan_out_y;
} AEGP_MaskVertex;

typedef struct AEGP_TwoDVal {
    A_FpLong x, y;
} AEGP_TwoDVal;

typedef struct AEGP_ThreeDVal {
    A_FpLong x, y, z;
} AEGP_ThreeDVal;

typedef union AEGP_StreamVal2 {
    AEGP_ThreeDVal three_d;
    AEGP_TwoDVal two_d;
    A_FpLong one_d;
    AEGP_ColorVal color;
    AEGP_MaskOutlineValH mask;
} AEGP_StreamVal2;

/* A stream's value at one time; the host owns what the value refers to until it is disposed
 * with AEGP_DisposeStreamValue. */
typedef struct AEGP_StreamValue2 {
    AEGP_StreamRefH streamH;
    AEGP_StreamVal2 val;
} AEGP_StreamValue2;

typedef A_long AEGP_MaskStream;
enum {
    AEGP_MaskStream_OUTLINE = 400,
    AEGP_MaskStream_OPACITY = 401,
    AEGP_MaskStream_FEATHER = 402,
    AEGP_MaskStream_EXPANSION = 403
};

typedef A_long AEGP_LTimeMode;
enum { AEGP_LTimeMode_LayerTime = 0, AEGP_LTimeMode_CompTime = 1 };

/* ---- AEGP PF Interface Suite ---------------------------------------------------------- */
#define kAEGPPFInterfaceSuite "AEGP PF Interface Suite"
#define kAEGPPFInterfaceSuiteVersion1 1

typedef struct AEGP_PFInterfaceSuite1 {
    /* The layer the effect is applied to; borrowed, never disposed. */
    A_Err (*AEGP_GetEffectLayer)(PF_ProgPtr effect_ref, AEGP_LayerH* layerPH);
    /* A new handle of the effect instance, disposed with AEGP_DisposeEffect. */
    A_Err (*AEGP_GetNewEffectForEffect)(AEGP_PluginID aegp_plugin_id, PF_ProgPtr effect_ref,
                                        AEGP_EffectRefH* effectPH);
} AEGP_PFInterfaceSuite1;

/* ---- AEGP Effect Suite ---------------------------------------------------------------- */
#define kAEGPEffectSuite "AEGP Effect Suite"
#define kAEGPEffectSuiteVersion2 2

typedef struct AEGP_EffectSuite2 {
    A_Err (*AEGP_DisposeEffect)(AEGP_EffectRefH effectH);
} AEGP_EffectSuite2;

/* ---- AEGP Layer Mask Suite ------------------------------------------------------------ */
#define kAEGPLayerMaskSuite "AEGP Layer Mask Suite"
#define kAEGPLayerMaskSuiteVersion7 7

typedef struct AEGP_LayerMaskSuite7 {
    A_Err (*AEGP_GetLayerNumMasks)(AEGP_LayerH aegp_layerH, A_long* num_masksPL);
    /* A new mask handle, disposed with AEGP_DisposeMask. */
    A_Err (*AEGP_GetLayerMaskByIndex)(AEGP_LayerH aegp_layerH, AEGP_MaskIndex mask_indexL,
                                      AEGP_MaskRefH* maskPH);
    A_Err (*AEGP_DisposeMask)(AEGP_MaskRefH mask_refH);
    A_Err (*AEGP_GetMaskColor)(AEGP_MaskRefH mask_refH, AEGP_ColorVal* colorP);
} AEGP_LayerMaskSuite7;

/* ---- AEGP Stream Suite (three versions, each with what the effect calls of it) ---------- */
#define kAEGPStreamSuite "AEGP Stream Suite"
#define kAEGPStreamSuiteVersion7 7
#define kAEGPStreamSuiteVersion9 9
#define kAEGPStreamSuiteVersion10 10

typedef struct AEGP_StreamSuite7 {
    /* A new stream handle, disposed with AEGP_DisposeStream. */
    A_Err (*AEGP_GetNewMaskStream)(AEGP_PluginID aegp_plugin_id, AEGP_MaskRefH mask_refH,
                                   AEGP_MaskStream which_stream, AEGP_StreamRefH* mask_streamPH);
    A_Err (*AEGP_DisposeStream)(AEGP_StreamRefH streamH);
} AEGP_StreamSuite7;

typedef struct AEGP_StreamSuite9 {
    A_Err (*AEGP_GetNewMaskStream)(AEGP_PluginID aegp_plugin_id, AEGP_MaskRefH mask_refH,
                                   AEGP_MaskStream which_stream, AEGP_StreamRefH* mask_streamPH);
    A_Err (*AEGP_DisposeStream)(AEGP_StreamRefH streamH);
} AEGP_StreamSuite9;

typedef struct AEGP_StreamSuite10 {
    A_Err (*AEGP_GetNewMaskStream)(AEGP_PluginID aegp_plugin_id, AEGP_MaskRefH mask_refH,
                                   AEGP_MaskStream which_stream, AEGP_StreamRefH* mask_streamPH);
    A_Err (*AEGP_DisposeStream)(AEGP_StreamRefH streamH);
    /* The name as NUL-terminated UTF-16 in new host memory, freed by the caller. */
    A_Err (*AEGP_GetStreamName)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                A_Boolean force_englishB, AEGP_MemHandle* utf_stream_namePH);
    A_Err (*AEGP_GetNewStreamValue)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                    AEGP_LTimeMode time_mode, const A_Time* timePT,
                                    A_Boolean pre_expressionB, AEGP_StreamValue2* valueP);
    A_Err (*AEGP_DisposeStreamValue)(AEGP_StreamValue2* valueP);
} AEGP_StreamSuite10;

/* ---- AEGP Dynamic Stream Suite -------------------------------------------------------- */
#define kAEGPDynamicStreamSuite "AEGP Dynamic Stream Suite"
#define kAEGPDynamicStreamSuiteVersion5 5

typedef struct AEGP_DynamicStreamSuite5 {
    /* A new handle of the group that holds the stream, disposed with AEGP_DisposeStream. */
    A_Err (*AEGP_GetNewParentStreamRef)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                        AEGP_StreamRefH* parent_streamPH);
} AEGP_DynamicStreamSuite5;

/* ---- AEGP Mask Outline Suite ---------------------------------------------------------- */
#define kAEGPMaskOutlineSuite "AEGP Mask Outline Suite"
#define kAEGPMaskOutlineSuiteVersion5 5

typedef struct AEGP_MaskOutlineSuite5 {
    A_Err (*AEGP_IsMaskOutlineOpen)(AEGP_MaskOutlineValH mask_outlineH, A_Boolean* openPB);
    A_Err (*AEGP_GetMaskOutlineNumSegments)(AEGP_MaskOutlineValH mask_outlineH,
                                            A_long* num_segmentsPL);
    A_Err (*AEGP_GetMaskOutlineVertexInfo)(AEGP_MaskOutlineValH mask_outlineH,
                                           AEGP_VertexIndex which_pointL, AEGP_MaskVertex* vertexP);
} AEGP_MaskOutlineSuite5;

/* ---- AEGP Memory Suite ---------------------------------------------------------------- */
#define kAEGPMemorySuite "AEGP Memory Suite"
#define kAEGPMemorySuiteVersion1 1

typedef struct AEGP_MemorySuite1 {
    A_Err (*AEGP_FreeMemHandle)(AEGP_MemHandle memH);
    A_Err (*AEGP_LockMemHandle)(AEGP_MemHandle memH, void** ptr_to_ptr);
    A_Err (*AEGP_UnlockMemHandle)(AEGP_MemHandle memH);
    A_Err (*AEGP_GetMemHandleSize)(AEGP_MemHandle memH, AEGP_MemSize* sizeP);
} AEGP_MemorySuite1;

#ifdef __cplusplus
}
#endif

#endif
