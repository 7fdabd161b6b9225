#pragma once

#include "host_api/drawbot.h"
#include "shell/toolkit/errors.h"

// A creating call's result, where one that reports success but hands out no object has failed
// all the same (PF_Err_OUT_OF_MEMORY): the object the drawing needs does not exist. made is
// where the call put the object, read only once the call has returned.
template <typename Ref>
PF_Err Made(A_long err, const Ref* made) {
    return err == PF_Err_NONE && *made == nullptr ? PF_Err_OUT_OF_MEMORY : err;
}

// The same, raised as Failure with that code.
template <typename Failure, typename Ref>
void ThrowIfNotMade(A_long err, const Ref* made) {
    const PF_Err result = Made(err, made);
    if (result != PF_Err_NONE) {
        throw Failure(result);
    }
}

// Owns one reference of a Drawbot object (T is the object's reference type) and gives it back
// through the supplier suite's ReleaseObject, by Release or when it goes out of scope. Lives
// in one event handler; moved, never copied or shared.
template <typename T>
class SharedRefImpl {
  public:
    explicit SharedRefImpl(const DRAWBOT_SupplierSuite1* suite, T owned = nullptr)
        : ref(owned), supplierSuite(suite) {}
    // A destructor passes nothing on: a release the host refuses is dropped.
    virtual ~SharedRefImpl() { Release(); }
    SharedRefImpl(SharedRefImpl&& other) noexcept
        : ref(other.ref), supplierSuite(other.supplierSuite) {
        other.ref = nullptr;
    }
    SharedRefImpl& operator=(SharedRefImpl&& other) noexcept {
        if (this != &other) {
            Release();
            ref = other.ref;
            supplierSuite = other.supplierSuite;
            other.ref = nullptr;
        }
        return *this;
    }
    SharedRefImpl(const SharedRefImpl&) = delete;
    SharedRefImpl& operator=(const SharedRefImpl&) = delete;

    T Get() const { return ref; }

    // Gives the reference back now: the host's answer, PF_Err_NONE when none was held.
    PF_Err Release() {
        const T held = ref;
        ref = nullptr;
        if (held == nullptr) {
            return PF_Err_NONE;
        }
        return supplierSuite->ReleaseObject(reinterpret_cast<DRAWBOT_ObjectRef>(held));
    }

    // The reference owned; null when none is.
    T ref;
    const DRAWBOT_SupplierSuite1* supplierSuite;

  protected:
    // Takes the reference that a creating call handed out, giving back any other one held.
    void Take(T newRef) {
        if (newRef == ref) {
            return;
        }
        const PF_Err err = Release();
        // The new reference is held even when the old one could not be given back, so that
        // it is released in its turn.
        ref = newRef;
        if (err != PF_Err_NONE) {
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
