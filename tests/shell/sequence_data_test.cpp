// The five sequence-data commands through the module: the one-byte live record, the 16-byte
// flat record, who disposes what, and the failures of each.
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/module_host.h"

namespace quorvel::testing {
namespace {

using SequenceDataTest = ModuleTest;

const std::vector<uint8_t> kFlatRecord = {0x01, 0x54, 0x45, 0x4D, 0x50, 0x00, 0x00, 0x00,
                                          0x08, 0x00, 0x00, 0x00, 0x00, 0x06, 0x08, 0x00};

TEST_F(SequenceDataTest, LiveAndFlatRecordsThroughAnInstancesLife) {
    ASSERT_EQ(effect().Send(PF_Cmd_SEQUENCE_SETUP).err, PF_Err_NONE);
    const PF_Handle live = effect().SequenceData();
    EXPECT_EQ(host.handles().Bytes(live), std::vector<uint8_t>{0});
    EXPECT_LEDGER_BALANCED(host);

    // A flat copy for the host; the live record stays.
    host::CommandResult result = effect().Send(PF_Cmd_GET_FLATTENED_SEQUENCE_DATA);
    ASSERT_EQ(result.err, PF_Err_NONE);
    EXPECT_NE(result.out.sequence_data, live);
    EXPECT_EQ(effect().SavedSequence(), kFlatRecord);
    EXPECT_EQ(effect().SequenceData(), live);
    EXPECT_TRUE(host.handles().IsLive(live));
    EXPECT_LEDGER_BALANCED(host);

    // Flattening replaces the live record by a byte-identical flat one.
    result = effect().Send(PF_Cmd_SEQUENCE_FLATTEN);
    ASSERT_EQ(result.err, PF_Err_NONE);
    EXPECT_FALSE(host.handles().IsLive(live));
    const PF_Handle flat = effect().SequenceData();
    EXPECT_EQ(host.handles().Bytes(flat), kFlatRecord);
    EXPECT_EQ(effect().SavedSequence(), kFlatRecord);
    EXPECT_LEDGER_BALANCED(host);

    // Re-set-up makes a new live record; the flat one is left to the host.
    result = effect().Send(PF_Cmd_SEQUENCE_RESETUP);
    ASSERT_EQ(result.err, PF_Err_NONE);
    EXPECT_NE(effect().SequenceData(), flat);
    EXPECT_EQ(host.handles().Bytes(effect().SequenceData()), std::vector<uint8_t>{0});
    EXPECT_LEDGER_BALANCED(host);

    EXPECT_EQ(effect().Send(PF_Cmd_SEQUENCE_SETDOWN).err, PF_Err_NONE);
    EXPECT_EQ(effect().SequenceData(), nullptr);
    EXPECT_EQ(host.handles().LiveCount(), 0u);
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(SequenceDataTest, CommandsWithoutOrWithEmptyIncomingData) {
    // Re-set-up without data sets none.
    host::CommandResult result = effect().Send(PF_Cmd_SEQUENCE_RESETUP);
    EXPECT_EQ(result.err, PF_Err_NONE);
    EXPECT_EQ(result.out.sequence_data, nullptr);
    // Flattening without data is damage.
    EXPECT_EQ(effect().Send(PF_Cmd_SEQUENCE_FLATTEN).err, PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_EQ(effect().Send(PF_Cmd_GET_FLATTENED_SEQUENCE_DATA).err,
              PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_EQ(effect().Send(PF_Cmd_SEQUENCE_SETDOWN).err, PF_Err_NONE);
    EXPECT_LEDGER_BALANCED(host);

    // A handle without memory: nothing to flatten, nothing disposed.
    effect().LoadSequenceData({});
    const PF_Handle empty = effect().SequenceData();
    for (PF_Cmd cmd :
         {PF_Cmd_SEQUENCE_FLATTEN, PF_Cmd_GET_FLATTENED_SEQUENCE_DATA, PF_Cmd_SEQUENCE_RESETUP}) {
        result = effect().Send(cmd);
        EXPECT_EQ(result.err, PF_Err_NONE) << cmd;
        EXPECT_EQ(effect().SequenceData(), empty) << cmd;
        EXPECT_TRUE(host.handles().IsLive(empty)) << cmd;
        EXPECT_LEDGER_BALANCED(host);
    }
    EXPECT_TRUE(effect().SavedSequence().empty());
    EXPECT_EQ(effect().Send(PF_Cmd_SEQUENCE_SETDOWN).err, PF_Err_NONE);
    EXPECT_EQ(host.handles().LiveCount(), 0u);
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(SequenceDataTest, FailuresReturnTheirCodesAndLeaveNothingBehind) {
    // Set-up without a handle is out of memory.
    host.faults().NullCall("host_new_handle", 1);
    EXPECT_EQ(effect().Send(PF_Cmd_SEQUENCE_SETUP).err, PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(effect().SequenceData(), nullptr);
    EXPECT_LEDGER_BALANCED(host);

    // Set-up whose lock gives nothing is out of memory too: it stores nothing and disposes its
    // handle.
    host.faults().NullCall("host_lock_handle", 1);
    EXPECT_EQ(effect().Send(PF_Cmd_SEQUENCE_SETUP).err, PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(effect().SequenceData(), nullptr);
    EXPECT_EQ(host.handles().LiveCount(), 0u);
    EXPECT_LEDGER_BALANCED(host);

    // Re-set-up that cannot make its live record says so; the flat record stays the host's.
    effect().LoadSequenceData(kFlatRecord);
    const PF_Handle saved = effect().SequenceData();
    for (const char* fault : {"host_new_handle", "host_lock_handle"}) {
        SCOPED_TRACE(fault);
        host.faults().NullCall(fault, 1);
        const host::CommandResult result = effect().Send(PF_Cmd_SEQUENCE_RESETUP);
        EXPECT_EQ(result.err, PF_Err_OUT_OF_MEMORY);
        EXPECT_EQ(result.out.sequence_data, saved);
        EXPECT_EQ(host.handles().Bytes(saved), kFlatRecord);
        EXPECT_EQ(host.handles().LiveCount(), 1u);
        EXPECT_LEDGER_BALANCED(host);
    }
    EXPECT_EQ(effect().Send(PF_Cmd_SEQUENCE_SETDOWN).err, PF_Err_NONE);
    EXPECT_EQ(host.handles().LiveCount(), 0u);

    // A missing handle suite reaches the host as PF_Err_BAD_CALLBACK_PARAM from the handlers'
    // own catch.
    host.faults().MakeSuiteUnavailable("PF Handle Suite", 2);
    EXPECT_EQ(effect().Send(PF_Cmd_SEQUENCE_SETUP).err, PF_Err_BAD_CALLBACK_PARAM);
    host.faults().Clear();
    EXPECT_LEDGER_BALANCED(host);

    ASSERT_EQ(effect().Send(PF_Cmd_SEQUENCE_SETUP).err, PF_Err_NONE);
    const PF_Handle live = effect().SequenceData();
    for (PF_Cmd cmd : {PF_Cmd_SEQUENCE_FLATTEN, PF_Cmd_GET_FLATTENED_SEQUENCE_DATA}) {
        SCOPED_TRACE(cmd);
        // No flat handle: damage, and the live record stays.
        host.faults().NullCall("host_new_handle", 1);
        EXPECT_EQ(effect().Send(cmd).err, PF_Err_INTERNAL_STRUCT_DAMAGED);
        EXPECT_EQ(effect().SequenceData(), live);
        EXPECT_LEDGER_BALANCED(host);
        // A flat handle whose lock gives nothing: out of memory, nothing stored, the live record
        // kept, so the project is not saved without its record.
        host.faults().NullCall("host_lock_handle", 1);
        EXPECT_EQ(effect().Send(cmd).err, PF_Err_OUT_OF_MEMORY);
        EXPECT_EQ(effect().SequenceData(), live);
        EXPECT_TRUE(host.handles().IsLive(live));
        EXPECT_TRUE(effect().SavedSequence().empty());
        EXPECT_LEDGER_BALANCED(host);
        host.faults().MakeSuiteUnavailable("PF Handle Suite", 2);
        EXPECT_EQ(effect().Send(cmd).err, PF_Err_BAD_CALLBACK_PARAM);
        host.faults().Clear();
        EXPECT_LEDGER_BALANCED(host);
    }
    EXPECT_EQ(effect().Send(PF_Cmd_SEQUENCE_SETDOWN).err, PF_Err_NONE);
    EXPECT_EQ(host.handles().LiveCount(), 0u);
    EXPECT_LEDGER_BALANCED(host);
}

}  // namespace
}  // namespace quorvel::testing
