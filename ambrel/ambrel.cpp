// ambrel: live decoder console tool. Connects through the nox component to a
// camera, dumps the encoded stream and a selection of the decoded frames, and
// ends when the user presses Enter.
//
// Threads: the main thread runs the start-up and, after the stream started,
// blocks in WaitAndClose's console read; the component calls the sink on
// threads of its own (multithreaded apartment).
#include <windows.h>
#include <ocidl.h>
#include <wrl/client.h>

#include <cstdio>
#include <cstring>
#include <iostream>

#include "console_out.h"
#include "console_text.h"
#include "enc_data.h"
#include "load_nox.h"
#include "log.h"
#include "settings.h"
#include "win32_owners.h"

using Microsoft::WRL::ComPtr;
using noxd::Bstr;
using noxd::ComApartment;
using noxd::FileHandle;
using noxd::OpenFile;
using noxd::UniqueKernelHandle;
using noxd::UnknownRef;
using noxd::Variant;

namespace {

// The run record: the settings, then what the run opens and creates. Owned
// by main for the whole run; WaitAndClose releases and closes what it holds.
struct INI : Settings {
    FileHandle fpEnc;
    FileHandle fpDec;
    UniqueKernelHandle hEvent;  // write-idle event shared with the sink
    ComPtr<INOXLiveControl> pLive;
    ComPtr<INOXDecode> pDecode;
    LONG lChID = 0;
    LONG lChID_dec = 0;
    DWORD dwcap_Cookie = 0;
    // The sink, once made; it is never destroyed during the run, so a plain
    // pointer suffices. WaitAndClose detaches it from the files first.
    CEncData* pSink = nullptr;
};

const int kErrorLevel = 1;

void ReadLine() {
    char line[256];
    while (std::fgets(line, sizeof line, stdin) && !std::strchr(line, '\n')) {
    }
}

int WaitAndClose(INI* pini) {
    ConsolePrintf("%s", "press any key to exit");
    std::fflush(stdout);
    ReadLine();
    if (pini->hEvent) WaitForSingleObject(pini->hEvent.get(), INFINITE);
    if (pini->pDecode) {
        LONG bRet = 0;
        pini->pDecode->StopDecoding(pini->lChID_dec, &bRet);
    }
    pini->pDecode.Reset();
    pini->pLive.Reset();
    if (pini->pSink) pini->pSink->DetachOutput();
    pini->fpEnc.reset();
    pini->fpDec.reset();
    return 0;
}

// Subscribes pUnk to the events iid of source through its connection point.
template <class T>
HRESULT AtlAdvise(const ComPtr<T>& source, IUnknown* pUnk, const IID& iid, DWORD* pdw) {
    if (!source) return E_INVALIDARG;
    ComPtr<IConnectionPointContainer> container;
    HRESULT hr = source.As(&container);
    if (FAILED(hr)) return hr;
    ComPtr<IConnectionPoint> point;
    hr = container->FindConnectionPoint(iid, &point);
    if (FAILED(hr)) return hr;
    return point->Advise(pUnk, pdw);
}

// Logs the failed step and closes the run; the caller returns its result.
int FailStep(HRESULT hr, int line, const char* expression, INI* pini) {
    LogMessage(kErrorLevel, "NOX error(0x%08x): file:%s, line:%d, expr:%s",
               static_cast<unsigned>(hr), BaseName(__FILE__), line, expression);
    return WaitAndClose(pini);
}

// A guarded step: a failure code ends the run. NOX_CHECK_OK also ends it on
// any success code other than S_OK.
#define NOX_CHECK(expr)                                              \
    do {                                                             \
        const HRESULT stepResult = (expr);                           \
        hr = stepResult;                                             \
        if (FAILED(hr)) return FailStep(hr, __LINE__, #expr, &ini);  \
    } while (0)
#define NOX_CHECK_OK(expr)                                           \
    do {                                                             \
        const HRESULT stepResult = (expr);                           \
        hr = stepResult;                                             \
        if (hr != S_OK) return FailStep(hr, __LINE__, #expr, &ini);  \
    } while (0)

bool OpenDumpFiles(INI& ini) {
    ini.fpEnc = OpenFile(ini.szEncFile, "wb");
    if (!ini.fpEnc) {
        ConsolePrintf("err: cannot open %s\n", ini.szEncFile);
        return false;
    }
    if (ini.bmp == 1 && ini.format != 0) return true;
    ini.fpDec = OpenFile(ini.szDecFile, "wb");
    if (!ini.fpDec) {
        ConsolePrintf("err: cannot open %s\n", ini.szDecFile);
        return false;
    }
    return true;
}

CEncData* MakeSink(INI& ini) {
    auto* sink = new CEncData;  // its own reference is never given back
    const bool bmpFiles = ini.bmp == 1 && (ini.format == 1 || ini.format == 2);
    sink->SetOutput(ini.fpEnc.get(), ini.fpDec.get(), ini.period, bmpFiles ? ini.szDecFile : nullptr);
    return sink;
}

int Run(INI& ini) {
    if (!OpenDumpFiles(ini)) return WaitAndClose(&ini);
    LogInit(10, nullptr, kLogConsole);

    // COM ends on the main thread when the run leaves, after every reference
    // held in the run's scope has gone.
    ComApartment apartment;
    HRESULT hr;
    NOX_CHECK(hr = CoInitializeEx(NULL,COINIT_MULTITHREADED));
    apartment.Adopt(hr);

    const Bstr bsAddr = Bstr::FromAnsi(ini.szAddr);
    const Bstr bsLogin = Bstr::FromAnsi(ini.szLogin);
    const Bstr bsPass = Bstr::FromAnsi(ini.szPass);
    UnknownRef pUnk_capturer;

    NOX_CHECK_OK(LoadNOX(&ini.pLive, &ini.pDecode) == 1 ? S_OK : S_FALSE);

    Variant option;
    option.get()->vt = VT_I4;
    option.get()->lVal = 0;
    ini.pLive->SetOption(1, *option);
    ini.pLive->SetOption(9, *option);

    NOX_CHECK(ini.pLive->Connect(bsAddr, bsLogin, bsPass, &ini.lChID));
    ini.pLive->SetChannelOption(ini.lChID, -1);

    ini.pSink = MakeSink(ini);
    ini.hEvent.reset(CreateEventW(nullptr, TRUE, TRUE, nullptr));
    ini.pSink->SetWriteIdleEvent(ini.hEvent.get());
    static_cast<INOXDecodeCallback*>(ini.pSink)->QueryInterface(IID_IUnknown, pUnk_capturer.put());

    NOX_CHECK(ini.pDecode->Open(VARIANT_FALSE, VARIANT_FALSE, pUnk_capturer, &ini.lChID_dec));
    LONG bRet = 0;
    switch (ini.format) {
    case 0:
        NOX_CHECK(ini.pDecode->SetOutputFormat(ini.lChID_dec, QZ_MTC_RAW_YUV422, &bRet));
        break;
    case 2:
        NOX_CHECK(ini.pDecode->SetOutputFormat(ini.lChID_dec, QZ_MTC_RAW_RGB888, &bRet));
        break;
    default:
        NOX_CHECK(ini.pDecode->SetOutputFormat(ini.lChID_dec, QZ_MTC_RAW_RGB32, &bRet));
        break;
    }
    NOX_CHECK(ini.pDecode->StartDecoding(ini.lChID_dec, &bRet));
    ini.pSink->SetDecoder(ini.pDecode.Get(), ini.lChID_dec);

    NOX_CHECK(AtlAdvise(ini.pLive, pUnk_capturer, DIID__INOXLiveControlEvents, &ini.dwcap_Cookie));
    NOX_CHECK(ini.pLive->StartStreamDataEvent(ini.lChID, 0));
    return WaitAndClose(&ini);
}

}  // namespace

int main(int argc, char* argv[]) {
    // Frame lines come from the component's threads; unbuffered, each line
    // reaches a pipe or file whole and at once.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    INI ini;
    if (ParseCommandLine(argc, argv, &ini, std::cout) == -1) {
        PrintUsage(std::cout);
        ReadLine();
        return 0;
    }
    return Run(ini);
}
