// Every DirectX call of the set-up, the resize and the drawing fails once, in
// a child process each (fault_probe): the program either ends with its
// message and exit code 1, or carries on, draws, and gives every reference
// back. Never a crash, a hang, or a call on a released object.
//
// A second sweep runs the program with our own Retained Mode over the
// DirectDraw and Immediate Mode doubles, and fails each call it makes on the
// caller's objects: one made while creating the device or a viewport hands
// its code back, so the program ends with the retained-mode message for that
// code and no viewport left on the Immediate Mode device (after the resize,
// where the set-up is tried again, the retry's line names it); one made while
// clearing or taking a viewport off its device leaves the frame to go on, and
// later frames clear again.
#include <windows.h>
#include <ddraw.h>
#include <d3drm.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "gfx/error_report.h"
#include "tests/doubles/child_process.h"

namespace {

const char kSetupFailed[] = "DirectX\x82\xcc\x8f\x89\x8a\xfa\x89\xbb\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc\x82\xb5\x82\xbd";
const DWORD kCaseTimeoutMs = 60000;

struct ProbeRun {
    bool started = false;
    bool finished = false;  // ended within the time limit
    DWORD exitCode = 0xFFFFFFFF;
    std::vector<std::string> lines;

    std::vector<std::string> With(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const std::string& l : lines)
            if (l.compare(0, prefix.size(), prefix) == 0) found.push_back(l.substr(prefix.size()));
        return found;
    }
    bool Has(const std::string& line) const {
        for (const std::string& l : lines)
            if (l == line) return true;
        return false;
    }
};

ProbeRun RunProbe(const std::string& arguments) {
    const dxd::ChildRun child = dxd::RunChild("fault_probe.exe", arguments, kCaseTimeoutMs);
    ProbeRun run;
    run.started = child.started;
    run.finished = child.finished;
    run.exitCode = child.exitCode;
    std::istringstream in(child.output);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        run.lines.push_back(line);
    }
    return run;
}

struct Site {
    std::string key;  // "IDirectDrawSurface::Blt", or an export's name
    int index;        // which call of that key, from 0
};

std::string MethodOf(const std::string& key) {
    const size_t at = key.find("::");
    return at == std::string::npos ? key : key.substr(at + 2);
}

// Calls that hand an object back: their failure is also the missing object.
bool HandsBackAnObject(const std::string& key) {
    const std::string method = MethodOf(key);
    return method.compare(0, 6, "Create") == 0 || method == "QueryInterface" || method == "GetDirect3DViewport" ||
           method == "GetRenderTarget" || method == "GetAttachedSurface" || key == "DirectDrawCreate" ||
           key == "Direct3DRMCreate";
}

// A failure each component really answers with.
HRESULT RepresentativeFailure(const std::string& key) {
    const std::string method = MethodOf(key);
    if (method == "IsLost") return DDERR_SURFACELOST;
    if (method == "QueryInterface") return E_NOINTERFACE;
    if (method == "GetAttachedSurface") return DDERR_NOTFOUND;
    if (key.compare(0, 11, "IDirect3DRM") == 0 || key == "Direct3DRMCreate") return D3DRMERR_BADALLOC;
    if (key.compare(0, 9, "IDirect3D") == 0) return DDERR_INVALIDPARAMS;
    return DDERR_OUTOFMEMORY;
}

std::string Hex(HRESULT hr) {
    char text[16];
    std::snprintf(text, sizeof text, "%08lX", static_cast<unsigned long>(hr));
    return text;
}

// What a failing call must lead to. The program's own calls: ending with exit
// code 1 and a message, or carrying on. With our Retained Mode, the place of
// the call decides which of the two.
enum class Expect { EndOrCarryOn, RetainedModeError, CarryOnAndClear };

// In the sweep with our Retained Mode: a call made while it creates the
// device (GetRenderTarget then GetSurfaceDesc) or a viewport (CreateViewport,
// AddViewport, SetViewport) fails the retained-mode call; the rest are made
// while clearing (GetRenderTarget then GetAttachedSurface, Clear) or taking
// a viewport off its device (DeleteViewport), whose results the program does
// not look at.
Expect OurRetainedModeExpects(const std::vector<Site>& sites, size_t at) {
    const std::string method = MethodOf(sites[at].key);
    if (method == "GetRenderTarget") {
        const bool creatingDevice = at + 1 < sites.size() && MethodOf(sites[at + 1].key) == "GetSurfaceDesc";
        return creatingDevice ? Expect::RetainedModeError : Expect::CarryOnAndClear;
    }
    if (method == "GetSurfaceDesc" || method == "CreateViewport" || method == "AddViewport" ||
        method == "SetViewport") {
        return Expect::RetainedModeError;
    }
    return Expect::CarryOnAndClear;
}

// What the program must have done with a call of `key` answering `hr`; "" when
// it did, else what went wrong. `outcome` describes what happened.
std::string Judge(const ProbeRun& run, const std::string& key, HRESULT hr, Expect expect, std::string& outcome) {
    if (!run.started) return "the probe did not start";
    if (!run.finished) {
        outcome = "hang";
        return "no end within the time limit";
    }
    const std::vector<std::string> boxes = run.With("box:");
    const std::vector<std::string> errors = run.With("error:");
    std::string problems;
    for (const std::string& e : errors) problems += "double reports: " + e + "; ";

    if (run.exitCode == 1 && run.Has("exit:1")) {
        outcome = "exit 1";
        if (expect == Expect::CarryOnAndClear) problems += "the program ended, but no call of its reports this failure; ";
        if (boxes.empty()) return problems + "exit code 1 without a message";
        const std::string& last = boxes.back();
        outcome += " \"" + last + "\"";
        const std::string dd = std::string("DirectDraw Error ") + NvxDDErrorName(hr);
        const std::string rm = std::string("Direct3D-RM Error : ") + NvxRMErrorName(hr);
        if (expect == Expect::RetainedModeError) {
            if (last != rm) problems += "the last message is not the retained-mode one for the failing code; ";
            if (!run.Has("viewports:0")) problems += "a viewport was left on the Immediate Mode device; ";
        } else if (last != kSetupFailed && last != dd && last != rm) {
            problems += "the last message is neither the set-up's nor the failing call's: " + last + "; ";
        }
        return problems;
    }
    if (run.exitCode == 0 && run.Has("end")) {
        outcome = run.Has("presented:1") ? "carried on, draws" : "carried on, nothing shown";
        if (!boxes.empty()) outcome += " after \"" + boxes.back() + "\"";
        // A set-up after the resize that fails is tried again: its line
        // names the failure the retained-mode call handed back.
        const std::vector<std::string> retries = run.With("retry:");
        outcome += retries.empty() ? "" : " after \"" + retries.back() + "\"";
        const std::string rm = std::string("Direct3D-RM Error : ") + NvxRMErrorName(hr);
        if (expect == Expect::RetainedModeError &&
            (retries.empty() || retries.back().find(rm) == std::string::npos)) {
            problems += "the program carried on: the retained-mode call did not hand the failure back; ";
        }
        if (expect == Expect::CarryOnAndClear && !run.Has("cleared:1")) {
            problems += "the last frame did not clear the viewport; ";
        }
        for (const std::string& u : run.With("unreleased:")) {
            std::istringstream items(u);
            for (std::string item; std::getline(items, item, ';');) {
                if (item.empty()) continue;
                // A device context DirectDraw refused to take back goes with its
                // surface; only the surface's references are the program's.
                if (MethodOf(key) == "ReleaseDC" && item.find("has a device context open") != std::string::npos)
                    continue;
                problems += "left behind: " + item + "; ";
            }
        }
        if (!run.Has("presented:1")) problems += "the program carried on but no later frame reached the screen; ";
        return problems;
    }
    char code[32];
    std::snprintf(code, sizeof code, "exit code 0x%lX", static_cast<unsigned long>(run.exitCode));
    outcome = code;
    return problems + "neither a clean end nor the fatal exit (a crash?)";
}

// The sites of a clean run of the probe (its "list" lines).
std::vector<Site> ListSites(const std::string& mode) {
    const ProbeRun clean = RunProbe(mode + "list");
    EXPECT_TRUE(clean.finished && clean.exitCode == 0) << "the clean run failed";
    std::vector<Site> sites;
    for (const std::string& line : clean.lines) {
        const size_t space = line.rfind(' ');
        if (space == std::string::npos) continue;
        sites.push_back({line.substr(0, space), std::stoi(line.substr(space + 1))});
    }
    return sites;
}

// Fails each site once in a probe of `mode` ("" or "rm "), judging each run.
void Sweep(const std::string& mode, const std::vector<Site>& sites) {
    const bool ourRetainedMode = mode == "rm ";
    int swept = 0, fatal = 0, carried = 0;
    std::map<std::string, int> keys;
    for (size_t at = 0; at < sites.size(); ++at) {
        const Site& site = sites[at];
        const Expect expect = ourRetainedMode ? OurRetainedModeExpects(sites, at) : Expect::EndOrCarryOn;
        std::vector<HRESULT> codes = {RepresentativeFailure(site.key)};
        // A code that is not zero yet hands the object back: it must still be released.
        if (HandsBackAnObject(site.key)) codes.push_back(S_FALSE);
        for (HRESULT hr : codes) {
            const std::string what = site.key + " #" + std::to_string(site.index) + " -> " + Hex(hr);
            const ProbeRun run =
                RunProbe(mode + "fail " + site.key + " " + std::to_string(site.index) + " " + Hex(hr));
            std::string outcome;
            const std::string problem = Judge(run, site.key, hr, expect, outcome);
            ++swept;
            ++keys[site.key];
            if (outcome.compare(0, 6, "exit 1") == 0) ++fatal;
            if (outcome.compare(0, 7, "carried") == 0) ++carried;
            std::printf("%-48s %s\n", what.c_str(), outcome.c_str());
            EXPECT_EQ(problem, "") << what;
        }
    }
    std::printf("swept %d failures over %zu call sites (%zu distinct calls)%s: %d ended with exit code 1, "
                "%d carried on\n",
                swept, sites.size(), keys.size(), ourRetainedMode ? " with our Retained Mode" : "", fatal, carried);
    std::fflush(stdout);
}

TEST(FaultSweep, EveryDirectXCallFailingOnceEndsWithItsMessageOrCarriesOn) {
    const std::vector<Site> sites = ListSites("");
    ASSERT_GT(sites.size(), 50u) << "the clean run made too few calls to be the whole program";
    Sweep("", sites);
}

TEST(FaultSweep, OurRetainedModeHandsEveryImmediateModeFailureBackOrCarriesOn) {
    const std::vector<Site> sites = ListSites("rm ");
    // Every call our Retained Mode makes on the caller's objects, or the sweep
    // would miss a path: creating the device and the viewport, clearing, and
    // taking the viewport off its device at the resize.
    std::map<std::string, int> keys;
    for (const Site& site : sites) ++keys[site.key];
    for (const char* key : {"IDirect3DDevice2::GetRenderTarget", "IDirectDrawSurface::GetSurfaceDesc",
                            "IDirect3D2::CreateViewport", "IDirect3DDevice2::AddViewport",
                            "IDirect3DViewport2::SetViewport", "IDirectDrawSurface::GetAttachedSurface",
                            "IDirect3DViewport2::Clear", "IDirect3DDevice2::DeleteViewport"}) {
        EXPECT_GT(keys[key], 0) << key << " is not among the calls of a clean run";
    }
    Sweep("rm ", sites);
}

}  // namespace
