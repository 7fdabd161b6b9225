#include "shell/toolkit/errors.h"

HostFailure::~HostFailure() = default;

PF_Err HostCode::Code() const noexcept { return code; }

PF_Err Exception::Code() const noexcept { return err; }

PF_Err ReportedAsOutOfMemory::Code() const noexcept { return PF_Err_OUT_OF_MEMORY; }
