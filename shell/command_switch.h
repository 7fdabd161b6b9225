#pragma once

#include "host_api/effect.h"
#include "shell/command_args.h"

// The command switch of EffectMain: runs the handler of args.cmd. A command without a
// handler, and every command above PF_Cmd_GET_FLATTENED_SEQUENCE_DATA, returns PF_Err_NONE
// without work. Exceptions other than those of the guarded sequence-data handlers pass
// through.
PF_Err RunCommand(const CommandArgs& args);
