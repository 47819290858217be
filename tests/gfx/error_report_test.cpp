// The two code tables and the fatal path. The table rows are checked against
// the codes the platform headers give each name, so a wrong code or a
// misspelt name shows up.
#include "gfx/device_state.h"
#include "gfx/error_report.h"
#include "tests/doubles/dx_doubles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace {

struct Row {
    HRESULT code;
    const char* name;
};
#define ROW(name) Row{name, #name}

// Row for row, in the table's order.
const Row kDirectDrawRows[] = {
    ROW(DDERR_UNSUPPORTED),
    ROW(DDERR_GENERIC),
    ROW(DDERR_NOTINITIALIZED),
    ROW(DDERR_OUTOFMEMORY),
    ROW(DDERR_INVALIDPARAMS),
    ROW(DDERR_ALREADYINITIALIZED),
    ROW(DDERR_CANNOTATTACHSURFACE),
    ROW(DDERR_CANNOTDETACHSURFACE),
    ROW(DDERR_CURRENTLYNOTAVAIL),
    ROW(DDERR_EXCEPTION),
    ROW(DDERR_HEIGHTALIGN),
    ROW(DDERR_INCOMPATIBLEPRIMARY),
    ROW(DDERR_INVALIDCAPS),
    ROW(DDERR_INVALIDCLIPLIST),
    ROW(DDERR_INVALIDMODE),
    ROW(DDERR_INVALIDOBJECT),
    ROW(DDERR_INVALIDPIXELFORMAT),
    ROW(DDERR_INVALIDRECT),
    ROW(DDERR_LOCKEDSURFACES),
    ROW(DDERR_NO3D),
    ROW(DDERR_NOALPHAHW),
    ROW(DDERR_NOCLIPLIST),
    ROW(DDERR_NOCOLORCONVHW),
    ROW(DDERR_NOCOOPERATIVELEVELSET),
    ROW(DDERR_NOCOLORKEY),
    ROW(DDERR_NOCOLORKEYHW),
    ROW(DDERR_NODIRECTDRAWSUPPORT),
    ROW(DDERR_NOEXCLUSIVEMODE),
    ROW(DDERR_NOFLIPHW),
    ROW(DDERR_NOGDI),
    ROW(DDERR_NOMIRRORHW),
    ROW(DDERR_NOTFOUND),
    ROW(DDERR_NOOVERLAYHW),
    ROW(DDERR_NORASTEROPHW),
    ROW(DDERR_NOROTATIONHW),
    ROW(DDERR_NOSTRETCHHW),
    ROW(DDERR_NOT4BITCOLOR),
    ROW(DDERR_NOT4BITCOLORINDEX),
    ROW(DDERR_NOT8BITCOLOR),
    ROW(DDERR_NOTEXTUREHW),
    ROW(DDERR_NOVSYNCHW),
    ROW(DDERR_NOZBUFFERHW),
    ROW(DDERR_NOZOVERLAYHW),
    ROW(DDERR_OUTOFCAPS),
    ROW(DDERR_OUTOFVIDEOMEMORY),
    ROW(DDERR_OVERLAYCANTCLIP),
    ROW(DDERR_OVERLAYCOLORKEYONLYONEACTIVE),
    ROW(DDERR_PALETTEBUSY),
    ROW(DDERR_COLORKEYNOTSET),
    ROW(DDERR_SURFACEALREADYATTACHED),
    ROW(DDERR_SURFACEALREADYDEPENDENT),
    ROW(DDERR_SURFACEBUSY),
    ROW(DDERR_CANTLOCKSURFACE),
    ROW(DDERR_SURFACEISOBSCURED),
    ROW(DDERR_SURFACELOST),
    ROW(DDERR_SURFACENOTATTACHED),
    ROW(DDERR_TOOBIGHEIGHT),
    ROW(DDERR_TOOBIGSIZE),
    ROW(DDERR_TOOBIGWIDTH),
    ROW(DDERR_UNSUPPORTEDFORMAT),
    ROW(DDERR_UNSUPPORTEDMASK),
    ROW(DDERR_VERTICALBLANKINPROGRESS),
    ROW(DDERR_WASSTILLDRAWING),
    ROW(DDERR_XALIGN),
    ROW(DDERR_INVALIDDIRECTDRAWGUID),
    ROW(DDERR_DIRECTDRAWALREADYCREATED),
    ROW(DDERR_NODIRECTDRAWHW),
    ROW(DDERR_PRIMARYSURFACEALREADYEXISTS),
    ROW(DDERR_NOEMULATION),
    ROW(DDERR_REGIONTOOSMALL),
    ROW(DDERR_CLIPPERISUSINGHWND),
    ROW(DDERR_NOCLIPPERATTACHED),
    ROW(DDERR_NOHWND),
    ROW(DDERR_HWNDSUBCLASSED),
    ROW(DDERR_HWNDALREADYSET),
    ROW(DDERR_NOPALETTEATTACHED),
    ROW(DDERR_NOPALETTEHW),
    ROW(DDERR_BLTFASTCANTCLIP),
    ROW(DDERR_NOBLTHW),
    ROW(DDERR_NODDROPSHW),
    ROW(DDERR_OVERLAYNOTVISIBLE),
    ROW(DDERR_NOOVERLAYDEST),
    ROW(DDERR_INVALIDPOSITION),
    ROW(DDERR_NOTAOVERLAYSURFACE),
    ROW(DDERR_EXCLUSIVEMODEALREADYSET),
    ROW(DDERR_NOTFLIPPABLE),
    ROW(DDERR_CANTDUPLICATE),
    ROW(DDERR_NOTLOCKED),
    ROW(DDERR_CANTCREATEDC),
    ROW(DDERR_NODC),
    ROW(DDERR_WRONGMODE),
    ROW(DDERR_IMPLICITLYCREATED),
    ROW(DDERR_NOTPALETTIZED),
    ROW(DDERR_UNSUPPORTEDMODE),
    ROW(DDERR_NOMIPMAPHW),
    ROW(DDERR_INVALIDSURFACETYPE),
    ROW(DDERR_DCALREADYCREATED),
    ROW(DDERR_CANTPAGELOCK),
    ROW(DDERR_CANTPAGEUNLOCK),
    ROW(DDERR_NOTPAGELOCKED),
};

const Row kRetainedModeRows[] = {
    ROW(D3DRMERR_BADOBJECT),
    ROW(D3DRMERR_BADTYPE),
    ROW(D3DRMERR_BADALLOC),
    ROW(D3DRMERR_FACEUSED),
    ROW(D3DRMERR_NOTFOUND),
    ROW(D3DRMERR_NOTDONEYET),
    ROW(D3DRMERR_FILENOTFOUND),
    ROW(D3DRMERR_BADFILE),
    ROW(D3DRMERR_BADDEVICE),
    ROW(D3DRMERR_BADVALUE),
    ROW(D3DRMERR_BADMAJORVERSION),
    ROW(D3DRMERR_BADMINORVERSION),
    ROW(D3DRMERR_UNABLETOEXECUTE),
};

// "－ビデオメモリが足りません　スクリーンの解像度や色数を下げてみてください" in code page 932.
const char kVideoMemorySentence[] =
    "\x81\x7c\x83\x72\x83\x66\x83\x49\x83\x81\x83\x82\x83\x8a\x82\xaa\x91\xab\x82\xe8\x82\xdc\x82\xb9\x82\xf1"
    "\x81\x40\x83\x58\x83\x4e\x83\x8a\x81\x5b\x83\x93\x82\xcc\x89\xf0\x91\x9c\x93\x78\x82\xe2\x90\x46\x90\x94"
    "\x82\xf0\x89\xba\x82\xb0\x82\xc4\x82\xdd\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2";

TEST(ErrorTables, DirectDrawRowsMatchTheHeadersRowForRow) {
    ASSERT_EQ(std::size(kDirectDrawRows), std::size(kNvxDDErrorNames));
    for (size_t i = 0; i < std::size(kDirectDrawRows); ++i) {
        const Row& row = kDirectDrawRows[i];
        EXPECT_EQ(kNvxDDErrorNames[i].code, row.code) << "row " << i + 1 << " " << row.name;
        const char* expected = row.code == DDERR_OUTOFVIDEOMEMORY ? kVideoMemorySentence : row.name;
        EXPECT_STREQ(NvxDDErrorName(row.code), expected) << "row " << i + 1;
    }
    std::set<HRESULT> codes;
    for (const auto& row : kNvxDDErrorNames) codes.insert(row.code);
    EXPECT_EQ(codes.size(), 100u);
}

TEST(ErrorTables, GeneralCodesCarryDirectDrawNames) {
    EXPECT_STREQ(NvxDDErrorName(E_INVALIDARG), "DDERR_INVALIDPARAMS");
    EXPECT_STREQ(NvxDDErrorName(E_NOTIMPL), "DDERR_UNSUPPORTED");
    EXPECT_STREQ(NvxDDErrorName(E_OUTOFMEMORY), "DDERR_OUTOFMEMORY");
}

TEST(ErrorTables, TheVideoMemorySentenceIsCodePage932) {
    EXPECT_EQ(std::strlen(kVideoMemorySentence), 72u);
    EXPECT_STREQ(NvxDDErrorName(static_cast<HRESULT>(0x8876017CL)), kVideoMemorySentence);
}

TEST(ErrorTables, RetainedModeRowsMatchTheHeadersAndAreConsecutive) {
    ASSERT_EQ(std::size(kRetainedModeRows), std::size(kNvxRMErrorNames));
    for (size_t i = 0; i < std::size(kRetainedModeRows); ++i) {
        EXPECT_EQ(kNvxRMErrorNames[i].code, static_cast<HRESULT>(0x8876030DL + i));
        EXPECT_EQ(kNvxRMErrorNames[i].code, kRetainedModeRows[i].code) << kRetainedModeRows[i].name;
        EXPECT_STREQ(NvxRMErrorName(kRetainedModeRows[i].code), kRetainedModeRows[i].name);
    }
}

TEST(ErrorTables, CodesOutsideATableAreUnknown) {
    for (HRESULT code : {HRESULT(0), D3DERR_SURFACENOTINVIDMEM, D3DRMERR_BADOBJECT, E_POINTER, S_FALSE,
                         static_cast<HRESULT>(0x88760000L)})
        EXPECT_STREQ(NvxDDErrorName(code), "Unknown Error") << std::hex << code;
    for (HRESULT code : {static_cast<HRESULT>(0x8876030CL), static_cast<HRESULT>(0x8876031AL), HRESULT(0),
                         DDERR_SURFACELOST})
        EXPECT_STREQ(NvxRMErrorName(code), "Unknown Error") << std::hex << code;
}

// The fatal path with the hooks recording: the box shows the composed text
// with MB_OK, then the process exit is asked for with code 1.
class FatalPath : public ::testing::Test {
protected:
    void SetUp() override { std::memset(&g_deviceState, 0, sizeof g_deviceState); }
    dxd::CallLog log;
    dxd::AfxRecorder hooks{log};

    template <class F>
    void ExpectFatal(F report, const std::string& text) {
        try {
            report();
            ADD_FAILURE() << "returned";
        } catch (const dxd::ExitCalled& exit) {
            EXPECT_EQ(exit.code, 1);
        }
        ASSERT_EQ(log.entries.size(), 2u) << log.Dump();
        EXPECT_EQ(log.entries[0].Text(), "box:" + text);
        EXPECT_EQ(log.entries[0].result, long(MB_OK));
        EXPECT_EQ(log.entries[1].Text(), "exit:1");
        EXPECT_EQ(std::string(g_deviceState.fatalText), text);
        log.Clear();
    }
};

TEST_F(FatalPath, DirectDrawCodesAreNamedInTheMessage) {
    ExpectFatal([] { NvxReportDDError(DDERR_SURFACELOST); }, "DirectDraw Error DDERR_SURFACELOST");
    ExpectFatal([] { NvxReportDDError(E_INVALIDARG); }, "DirectDraw Error DDERR_INVALIDPARAMS");
    ExpectFatal([] { NvxReportDDError(DDERR_OUTOFVIDEOMEMORY); },
                std::string("DirectDraw Error ") + kVideoMemorySentence);
    ExpectFatal([] { NvxReportDDError(0); }, "DirectDraw Error Unknown Error");
    ExpectFatal([] { NvxReportDDError(D3DRMERR_BADOBJECT); }, "DirectDraw Error Unknown Error");
}

TEST_F(FatalPath, RetainedModeCodesAreNamedInTheMessage) {
    ExpectFatal([] { NvxReportRMError(static_cast<HRESULT>(0x8876030DL)); }, "Direct3D-RM Error : D3DRMERR_BADOBJECT");
    ExpectFatal([] { NvxReportRMError(static_cast<HRESULT>(0x88760319L)); },
                "Direct3D-RM Error : D3DRMERR_UNABLETOEXECUTE");
    ExpectFatal([] { NvxReportRMError(static_cast<HRESULT>(0x8876030CL)); }, "Direct3D-RM Error : Unknown Error");
    ExpectFatal([] { NvxReportRMError(static_cast<HRESULT>(0x8876031AL)); }, "Direct3D-RM Error : Unknown Error");
}

TEST_F(FatalPath, AnOverlongTextIsCutToTheRecord) {
    std::string text(3000, 'x');
    try {
        NvxFatalError(text.c_str());
    } catch (const dxd::ExitCalled&) {
    }
    EXPECT_EQ(std::strlen(g_deviceState.fatalText), sizeof g_deviceState.fatalText - 1);
}

}  // namespace
