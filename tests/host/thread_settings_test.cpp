// Settings for one thread's commands: frames of different times rendered at once.
#include <thread>

#include <gtest/gtest.h>

#include "tests/support/module_host.h"

namespace quorvel::testing {
namespace {

using host::InstanceSettings;
using host::ThreadSettings;

class ThreadSettingsTest : public ModuleTest {
  protected:
    // The layer size the module's pre-render is told, through its check-out of the input.
    PF_LRect PreRenderLayer() {
        PF_RenderRequest request{};
        request.rect = {0, 0, 4, 4};
        const host::PreRenderResult result = effect().SmartPreRender(request);
        EXPECT_EQ(result.command.err, PF_Err_NONE);
        EXPECT_EQ(result.checkouts.size(), 1u);
        return result.checkouts.empty() ? PF_LRect{} : result.checkouts[0].result.max_result_rect;
    }
};

TEST_F(ThreadSettingsTest, OverrideTheInstanceOnTheirThreadOnly) {
    InstanceSettings shared = effect().Settings();
    shared.width = 100;
    shared.height = 50;
    effect().SetSettings(shared);

    InstanceSettings mine = shared;
    mine.width = 30;
    mine.currentTime = 1234;
    {
        const ThreadSettings scope(effect(), mine);
        EXPECT_EQ(effect().Settings().width, 30);
        EXPECT_EQ(effect().Settings().currentTime, 1234);
        EXPECT_EQ(PreRenderLayer().right, 30);

        // Another thread still sees the instance's own settings.
        A_long otherWidth = 0;
        std::thread other([&] { otherWidth = effect().Settings().width; });
        other.join();
        EXPECT_EQ(otherWidth, 100);

        // Changes on this thread stay with the scope; scopes nest.
        InstanceSettings changed = effect().Settings();
        changed.height = 7;
        effect().SetSettings(changed);
        EXPECT_EQ(effect().Settings().height, 7);
        {
            InstanceSettings inner = mine;
            inner.width = 3;
            const ThreadSettings nested(effect(), inner);
            EXPECT_EQ(effect().Settings().width, 3);
        }
        EXPECT_EQ(effect().Settings().width, 30);
    }
    EXPECT_EQ(effect().Settings().width, 100);
    EXPECT_EQ(effect().Settings().height, 50);
    EXPECT_EQ(effect().Settings().currentTime, shared.currentTime);
    EXPECT_EQ(PreRenderLayer().right, 100);
    EXPECT_LEDGER_BALANCED(host);
}

}  // namespace
}  // namespace quorvel::testing
