#include "debug_print.h"

#include <windows.h>

#include <mutex>

namespace noxd_test {

namespace {

constexpr DWORD kDebugPrint = 0x40010006;  // DBG_PRINTEXCEPTION_C
std::mutex lines_lock;  // guards caught: the writers' threads and the reader
std::vector<std::string> caught;

LONG CALLBACK CatchDebugPrint(EXCEPTION_POINTERS* e) {
    const EXCEPTION_RECORD* r = e->ExceptionRecord;
    if (r->ExceptionCode == kDebugPrint && r->NumberParameters >= 2) {
        const std::lock_guard<std::mutex> hold(lines_lock);
        caught.emplace_back(reinterpret_cast<const char*>(r->ExceptionInformation[1]));
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

DebugPrintCatcher::DebugPrintCatcher() : handler_(AddVectoredExceptionHandler(1, CatchDebugPrint)) { Clear(); }

DebugPrintCatcher::~DebugPrintCatcher() { RemoveVectoredExceptionHandler(handler_); }

const std::vector<std::string>& DebugPrintCatcher::lines() const { return caught; }

void DebugPrintCatcher::Clear() {
    const std::lock_guard<std::mutex> hold(lines_lock);
    caught.clear();
}

}  // namespace noxd_test
