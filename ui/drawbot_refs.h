#pragma once

#include "host_api/drawbot.h"
#include "shell/toolkit/errors.h"

// Owns one reference of a Drawbot object (T is the object's reference type) and gives it back
// through the supplier suite's ReleaseObject when it goes out of scope. Made on the stack of
// one event handler; never copied, stored or shared.
template <typename T>
class SharedRefImpl {
  public:
    virtual ~SharedRefImpl() {
        if (ref != nullptr) {
            // A destructor passes nothing on: a release the host refuses is dropped.
            supplierSuite->ReleaseObject(reinterpret_cast<DRAWBOT_ObjectRef>(ref));
            ref = nullptr;
        }
    }
    SharedRefImpl(const SharedRefImpl&) = delete;
    SharedRefImpl& operator=(const SharedRefImpl&) = delete;

    T Get() const { return ref; }

    // The reference owned; null when none is.
    T ref;
    const DRAWBOT_SupplierSuite1* supplierSuite;

  protected:
    explicit SharedRefImpl(const DRAWBOT_SupplierSuite1* suite)
        : ref(nullptr), supplierSuite(suite) {}

    // Takes the reference that a creating call handed out, giving back any other one held.
    void Take(T newRef) {
        if (newRef == ref) {
            return;
        }
        A_long err = 0;
        if (ref != nullptr) {
            err = supplierSuite->ReleaseObject(reinterpret_cast<DRAWBOT_ObjectRef>(ref));
            ref = nullptr;
        }
        // The new reference is held even when the old one could not be given back, so that
        // it is released in its turn.
        ref = newRef;
        if (err != 0) {
            throw DRAWBOT_Exception(err);
        }
    }
};

class DRAWBOT_PenP : public SharedRefImpl<DRAWBOT_PenRef> {
  public:
    // A new pen of colour and size; a failed NewPen throws DRAWBOT_Exception with its code, one
    // that hands out no pen with PF_Err_OUT_OF_MEMORY.
    DRAWBOT_PenP(const DRAWBOT_SupplierSuite1* suite, DRAWBOT_SupplierRef supplier,
                 const DRAWBOT_ColorRGBA* colour, float size);
};

class DRAWBOT_PathP : public SharedRefImpl<DRAWBOT_PathRef> {
  public:
    // A new empty path; a failed NewPath throws DRAWBOT_Exception with its code, one that hands
    // out no path with PF_Err_OUT_OF_MEMORY.
    DRAWBOT_PathP(const DRAWBOT_SupplierSuite1* suite, DRAWBOT_SupplierRef supplier);
};
