// The replacement host's custom UI on its own: Drawbot objects and their references, images
// in both pixel layouts, text, the custom UI suite, the AEGP handles' rules and UTF-16 text.
#include <vector>

#include <gtest/gtest.h>

#include "host/aegp_objects.h"
#include "host/basic_suite.h"
#include "host/drawbot_objects.h"
#include "host/layer_masks.h"
#include "host/ui_window.h"
#include "host/utf16.h"
#include "host_api/aegp.h"
#include "tests/support/module_host.h"
#include "tests/support/ui_host.h"

namespace quorvel::testing {
namespace {

// Acquires a suite for the length of a test and releases it before the ledger is read.
template <typename Suite>
class HeldSuite {
  public:
    HeldSuite(const char* name, A_long version) : name_(name), version_(version) {
        const void* table = nullptr;
        host::BasicSuite()->AcquireSuite(name, version, &table);
        suite_ = static_cast<const Suite*>(table);
    }
    ~HeldSuite() { Release(); }
    void Release() {
        if (suite_ != nullptr) {
            host::BasicSuite()->ReleaseSuite(name_, version_);
            suite_ = nullptr;
        }
    }
    const Suite* operator->() const { return suite_; }

  private:
    const char* name_;
    A_long version_;
    const Suite* suite_;
};

using UiHostTest = ModuleTest;

TEST_F(UiHostTest, ImagesInBothLayoutsLandAsTheSamePixels) {
    host::UiWindow window(PF_Window_EFFECT, 8, 4);
    window.canvas().Clear(0, 0, 0);
    HeldSuite<DRAWBOT_SupplierSuite1> supplier(kDRAWBOT_SupplierSuite, 1);
    HeldSuite<DRAWBOT_SurfaceSuite2> surface(kDRAWBOT_SurfaceSuite, 2);
    const DRAWBOT_SupplierRef supplierRef = window.canvas().SupplierRef();
    // Opaque orange, then white at half alpha; rows padded to 12 bytes.
    const uint8_t argb[] = {255, 255, 128, 0, 128, 255, 255, 255, 9, 9, 9, 9};
    const uint8_t bgra[] = {0, 128, 255, 255, 255, 255, 255, 128, 9, 9, 9, 9};
    DRAWBOT_ImageRef first = nullptr;
    DRAWBOT_ImageRef second = nullptr;
    ASSERT_EQ(supplier->NewImageFromBuffer(supplierRef, 2, 1, 12, kDRAWBOT_PixelLayout_32RGB, argb,
                                           &first),
              kSPNoError);
    ASSERT_EQ(supplier->NewImageFromBuffer(supplierRef, 2, 1, 12, kDRAWBOT_PixelLayout_32BGR, bgra,
                                           &second),
              kSPNoError);
    const DRAWBOT_PointF32 top = {0, 0};
    const DRAWBOT_PointF32 below = {4, 2};
    EXPECT_EQ(surface->DrawImage(window.canvas().SurfaceRef(), first, &top, 1.0f), kSPNoError);
    EXPECT_EQ(surface->DrawImage(window.canvas().SurfaceRef(), second, &below, 1.0f), kSPNoError);
    for (const PF_Point& at : {PF_Point{0, 0}, PF_Point{4, 2}}) {
        EXPECT_TRUE(SameColour(window.canvas().Pixel(at.h, at.v), 255, 128, 0));
        EXPECT_TRUE(SameColour(window.canvas().Pixel(at.h + 1, at.v), 128, 128, 128, 1));
    }
    // A layout the supplier does not support is refused and makes nothing.
    window.canvas().settings().supportsARGB = false;
    DRAWBOT_ImageRef refused = nullptr;
    EXPECT_NE(supplier->NewImageFromBuffer(supplierRef, 2, 1, 12, kDRAWBOT_PixelLayout_32RGB, argb,
                                           &refused),
              kSPNoError);
    EXPECT_EQ(refused, nullptr);
    EXPECT_EQ(host.State<host::DrawbotObjects>().ImagesMade().size(), 2u);
    supplier->ReleaseObject(reinterpret_cast<DRAWBOT_ObjectRef>(first));
    supplier->ReleaseObject(reinterpret_cast<DRAWBOT_ObjectRef>(second));
    supplier.Release();
    surface.Release();
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(UiHostTest, EveryReferenceIsCountedAndADeadObjectIsRefused) {
    host::UiWindow window(PF_Window_EFFECT, 8, 8);
    HeldSuite<DRAWBOT_SupplierSuite1> supplier(kDRAWBOT_SupplierSuite, 1);
    HeldSuite<DRAWBOT_PathSuite1> paths(kDRAWBOT_PathSuite, 1);
    DRAWBOT_PathRef path = nullptr;
    ASSERT_EQ(supplier->NewPath(window.canvas().SupplierRef(), &path), kSPNoError);
    const auto object = reinterpret_cast<DRAWBOT_ObjectRef>(path);
    EXPECT_EQ(supplier->RetainObject(object), kSPNoError);
    EXPECT_EQ(host.ledger().Count("reference of Drawbot path #1"), 2);
    EXPECT_EQ(supplier->ReleaseObject(object), kSPNoError);
    const DRAWBOT_RectF32 rect = {0, 0, 1, 1};
    EXPECT_EQ(paths->AddRect(path, &rect), kSPNoError);
    EXPECT_EQ(supplier->ReleaseObject(object), kSPNoError);
    supplier.Release();
    paths.Release();
    EXPECT_LEDGER_BALANCED(host);
    // Released for good: neither usable nor releasable again.
    HeldSuite<DRAWBOT_SupplierSuite1> again(kDRAWBOT_SupplierSuite, 1);
    HeldSuite<DRAWBOT_PathSuite1> pathsAgain(kDRAWBOT_PathSuite, 1);
    EXPECT_NE(pathsAgain->AddRect(path, &rect), kSPNoError);
    EXPECT_NE(again->ReleaseObject(object), kSPNoError);
    EXPECT_EQ(host.ledger().Misuses().size(), 2u);
}

TEST_F(UiHostTest, TextIsDrawnFromUtf16AtItsAlignment) {
    host::UiWindow window(PF_Window_COMP, 200, 40);
    window.canvas().Clear(0, 0, 0);
    HeldSuite<DRAWBOT_SupplierSuite1> supplier(kDRAWBOT_SupplierSuite, 1);
    HeldSuite<DRAWBOT_SurfaceSuite2> surface(kDRAWBOT_SurfaceSuite, 2);
    const DRAWBOT_ColorRGBA white = {1, 1, 1, 1};
    DRAWBOT_BrushRef brush = nullptr;
    DRAWBOT_FontRef font = nullptr;
    ASSERT_EQ(supplier->NewBrush(window.canvas().SupplierRef(), &white, &brush), kSPNoError);
    ASSERT_EQ(supplier->NewDefaultFont(window.canvas().SupplierRef(), 14, &font), kSPNoError);
    const std::u16string text = u"Maske \u00e4 \U0001F642";
    std::vector<DRAWBOT_UTF16Char> units(text.begin(), text.end());
    units.push_back(0);
    const DRAWBOT_PointF32 origin = {100, 30};
    EXPECT_EQ(surface->DrawString(window.canvas().SurfaceRef(), brush, font, units.data(), &origin,
                                  kDRAWBOT_TextAlignment_Right, kDRAWBOT_TextTruncation_None, 0),
              kSPNoError);
    const auto strings =
        OperationsOf(host.State<host::DrawbotObjects>(), host::DrawbotOperation::Kind::DrawString);
    ASSERT_EQ(strings.size(), 1u);
    EXPECT_EQ(strings[0].text, "Maske \xC3\xA4 \xF0\x9F\x99\x82");
    // Right-aligned: the ink ends at the origin.
    const InkBox ink = FindInk(window.canvas(), 255, 255, 255, 120, 0, 0, 199, 39);
    EXPECT_GT(ink.count, 10);
    EXPECT_LE(ink.right, 100);
    EXPECT_LE(ink.bottom, 33);
    supplier->ReleaseObject(reinterpret_cast<DRAWBOT_ObjectRef>(brush));
    supplier->ReleaseObject(reinterpret_cast<DRAWBOT_ObjectRef>(font));
}

TEST_F(UiHostTest, DrawingReferencesBelongToWindowsThatCanBeDrawn) {
    host::UiWindow window(PF_Window_EFFECT, 8, 8);
    HeldSuite<PF_EffectCustomUISuite1> customUi(kPFEffectCustomUISuite, 1);
    DRAWBOT_DrawRef reference = nullptr;
    EXPECT_EQ(customUi->PF_GetDrawingReference(window.Context(), &reference), PF_Err_NONE);
    EXPECT_EQ(reference, window.canvas().DrawRef());
    window.drawable = false;
    EXPECT_EQ(customUi->PF_GetDrawingReference(window.Context(), &reference), PF_Err_NONE);
    EXPECT_EQ(reference, nullptr);
    PF_Context stranger = {};
    PF_Context* strangerPointer = &stranger;
    EXPECT_NE(customUi->PF_GetDrawingReference(&strangerPointer, &reference), PF_Err_NONE);
    EXPECT_EQ(host.ledger().Misuses().size(), 1u);
}

TEST_F(UiHostTest, AegpCallsNeedARegisteredPluginAndLiveHandles) {
    host.State<host::LayerMasks>().Set({host::LayerMask{}});
    HeldSuite<AEGP_PFInterfaceSuite1> pf(kAEGPPFInterfaceSuite, 1);
    HeldSuite<AEGP_LayerMaskSuite7> masks(kAEGPLayerMaskSuite, 7);
    HeldSuite<AEGP_StreamSuite10> streams(kAEGPStreamSuite, 10);
    HeldSuite<AEGP_MemorySuite1> memory(kAEGPMemorySuite, 1);
    AEGP_EffectRefH effectH = nullptr;
    EXPECT_NE(pf->AEGP_GetNewEffectForEffect(7, &effect(), &effectH), PF_Err_NONE);
    EXPECT_EQ(effectH, nullptr);
    AEGP_LayerH layer = nullptr;
    ASSERT_EQ(pf->AEGP_GetEffectLayer(&effect(), &layer), PF_Err_NONE);
    AEGP_MaskRefH mask = nullptr;
    EXPECT_EQ(masks->AEGP_GetLayerMaskByIndex(layer, 1, &mask), PF_Err_INVALID_INDEX);
    ASSERT_EQ(masks->AEGP_GetLayerMaskByIndex(layer, 0, &mask), PF_Err_NONE);
    EXPECT_EQ(masks->AEGP_DisposeMask(mask), PF_Err_NONE);
    EXPECT_NE(masks->AEGP_DisposeMask(mask), PF_Err_NONE);
    EXPECT_EQ(host.ledger().Misuses().size(), 2u);
}

TEST(Utf16Test, ConvertsBothWaysAndReplacesWhatIsIllFormed) {
    EXPECT_EQ(host::Utf16FromUtf8("a\xC3\xA4\xF0\x9F\x99\x82"),
              std::u16string(u"a\u00e4\U0001F642"));
    EXPECT_EQ(host::Utf8FromUtf16(u"a\u00e4\U0001F642"), "a\xC3\xA4\xF0\x9F\x99\x82");
    EXPECT_EQ(host::Utf16FromUtf8("x\xFFy\xE2\x82"), std::u16string(u"x\uFFFDy\uFFFD\uFFFD"));
    EXPECT_EQ(host::Utf8FromUtf16(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
    const A_UTF16Char units[] = {'o', 'k', 0, 'x'};
    EXPECT_EQ(host::Utf16Terminated(units), u"ok");
    EXPECT_EQ(host::Utf16Terminated(nullptr), u"");
}

}  // namespace
}  // namespace quorvel::testing
