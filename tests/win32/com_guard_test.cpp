// The guard every COM method of ambrel, the stand-in component and the viewer
// runs its work through: an exception never reaches the caller, who gets
// E_UNEXPECTED, and a debugger gets one line naming the method.
#include <gtest/gtest.h>
#include <windows.h>

#include <new>
#include <stdexcept>

#include "com_guard.h"
#include "support/debug_print.h"

namespace {

TEST(ComGuard, AnExceptionBecomesTheFailureCodeAndOneDebugLine) {
    const noxd_test::DebugPrintCatcher debug;
    EXPECT_EQ(noxd::GuardComMethod("INOXDecode::Open", []() -> HRESULT { throw std::runtime_error("no room"); }),
              E_UNEXPECTED);
    EXPECT_EQ(noxd::GuardComMethod("CEncData::Invoke", []() -> HRESULT { throw std::bad_alloc(); }), E_UNEXPECTED);
    EXPECT_EQ(noxd::GuardComMethod("StreamSink::Invoke", []() -> HRESULT { throw 42; }), E_UNEXPECTED);
    EXPECT_EQ(debug.lines(), (std::vector<std::string>{"INOXDecode::Open: exception: no room\n",
                                                       "CEncData::Invoke: exception: std::bad_alloc\n",
                                                       "StreamSink::Invoke: exception: unknown exception\n"}));
}

TEST(ComGuard, WhatTheWorkReturnsPassesUnchangedAndSilently) {
    const noxd_test::DebugPrintCatcher debug;
    EXPECT_EQ(noxd::GuardComMethod("INOXDecode::PushEncodedData", [] { return S_FALSE; }), S_FALSE);
    EXPECT_EQ(noxd::GuardComMethod("INOXLiveControl::Connect", [] { return E_INVALIDARG; }), E_INVALIDARG);
    EXPECT_TRUE(debug.lines().empty());
}

}  // namespace
