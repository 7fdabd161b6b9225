// The pen and path wrappers over the host's Drawbot supplier: one reference each, given back
// once, nothing held after a failed creation or one that hands out nothing.
#include <string>

#include <gtest/gtest.h>

#include "host/basic_suite.h"
#include "host/drawbot_canvas.h"
#include "host/drawbot_objects.h"
#include "tests/support/module_host.h"
#include "ui/drawbot_refs.h"

namespace quorvel::testing {
namespace {

class DrawbotRefsTest : public ModuleTest {
  protected:
    void SetUp() override {
        ModuleTest::SetUp();
        const void* table = nullptr;
        ASSERT_EQ(host::BasicSuite()->AcquireSuite(kDRAWBOT_SupplierSuite,
                                                   kDRAWBOT_SupplierSuite_Version1, &table),
                  kSPNoError);
        supplierSuite = static_cast<const DRAWBOT_SupplierSuite1*>(table);
    }
    void TearDown() override { ReleaseSuite(); }

    // Gives the supplier suite back, so that the ledger shows only what the wrappers left.
    void ReleaseSuite() {
        if (supplierSuite != nullptr) {
            host::BasicSuite()->ReleaseSuite(kDRAWBOT_SupplierSuite,
                                             kDRAWBOT_SupplierSuite_Version1);
            supplierSuite = nullptr;
        }
    }

    host::DrawbotObjects& objects() { return host.State<host::DrawbotObjects>(); }

    host::DrawbotCanvas canvas{16, 16};
    const DRAWBOT_SupplierSuite1* supplierSuite = nullptr;
    const DRAWBOT_ColorRGBA red = {1, 0, 0, 1};
};

TEST_F(DrawbotRefsTest, EachWrapperReleasesItsOneReferenceOnce) {
    {
        DRAWBOT_PenP pen(supplierSuite, canvas.SupplierRef(), &red, 1.0f);
        DRAWBOT_PathP path(supplierSuite, canvas.SupplierRef());
        ASSERT_NE(pen.Get(), nullptr);
        ASSERT_NE(path.Get(), nullptr);
        EXPECT_EQ(objects().Find(pen.Get(), host::DrawbotObject::Kind::Pen)->size, 1.0f);
        EXPECT_EQ(objects().LiveCount(), 2u);
        EXPECT_EQ(host.faults().Calls("ReleaseObject"), 0);
    }
    EXPECT_EQ(host.faults().Calls("ReleaseObject"), 2);
    EXPECT_EQ(objects().LiveCount(), 0u);
    // A release the host refuses is dropped by the destructor.
    host.faults().FailCall("ReleaseObject", 1, 99);
    EXPECT_NO_THROW({ DRAWBOT_PenP pen(supplierSuite, canvas.SupplierRef(), &red, 2.0f); });
    EXPECT_EQ(host.faults().Calls("ReleaseObject"), 3);
    ReleaseSuite();
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(DrawbotRefsTest, FailedOrNullCreationsHoldNothing) {
    {
        DRAWBOT_PenP pen(supplierSuite, canvas.SupplierRef(), &red, 1.0f);
        host.faults().FailCall("NewPath", 1, 1234);
        try {
            DRAWBOT_PathP path(supplierSuite, canvas.SupplierRef());
            FAIL() << "no exception";
        } catch (const DRAWBOT_Exception& exception) {
            EXPECT_EQ(exception.err, 1234);
        }
        host.faults().FailCall("NewPen", 1, 77);
        EXPECT_THROW(DRAWBOT_PenP(supplierSuite, canvas.SupplierRef(), &red, 1.0f),
                     DRAWBOT_Exception);
        EXPECT_EQ(host.faults().Calls("ReleaseObject"), 0);
        EXPECT_EQ(objects().LiveCount(), 1u);
    }
    // A successful call that gives a null reference has failed all the same, with nothing to
    // release.
    host.faults().Clear();
    const long releases = host.faults().Calls("ReleaseObject");
    for (const char* creation : {"NewPath", "NewPen"}) {
        host.faults().NullCall(creation, 1);
        try {
            if (std::string(creation) == "NewPath") {
                DRAWBOT_PathP path(supplierSuite, canvas.SupplierRef());
            } else {
                DRAWBOT_PenP pen(supplierSuite, canvas.SupplierRef(), &red, 1.0f);
            }
            ADD_FAILURE() << creation << ": no exception";
        } catch (const DRAWBOT_Exception& exception) {
            EXPECT_EQ(exception.err, PF_Err_OUT_OF_MEMORY) << creation;
        }
    }
    EXPECT_EQ(host.faults().Calls("ReleaseObject"), releases);
    ReleaseSuite();
    EXPECT_LEDGER_BALANCED(host);
}

}  // namespace
}  // namespace quorvel::testing
