#include "gfx/error_report.h"

#include "framework/afx_hooks.h"
#include "gfx/device_state.h"

#include <cstdio>
#include <cstring>

// Rows 1 to 5 are general COM codes under their DirectDraw names; the rest
// are DirectDraw's own codes. The out-of-video-memory code carries a sentence
// for the user instead of its name.
const NvxErrorName kNvxDDErrorNames[100] = {
    {static_cast<HRESULT>(0x80004001L), "DDERR_UNSUPPORTED"},
    {static_cast<HRESULT>(0x80004005L), "DDERR_GENERIC"},
    {static_cast<HRESULT>(0x800401F0L), "DDERR_NOTINITIALIZED"},
    {static_cast<HRESULT>(0x8007000EL), "DDERR_OUTOFMEMORY"},
    {static_cast<HRESULT>(0x80070057L), "DDERR_INVALIDPARAMS"},
    {static_cast<HRESULT>(0x88760005L), "DDERR_ALREADYINITIALIZED"},
    {static_cast<HRESULT>(0x8876000AL), "DDERR_CANNOTATTACHSURFACE"},
    {static_cast<HRESULT>(0x88760014L), "DDERR_CANNOTDETACHSURFACE"},
    {static_cast<HRESULT>(0x88760028L), "DDERR_CURRENTLYNOTAVAIL"},
    {static_cast<HRESULT>(0x88760037L), "DDERR_EXCEPTION"},
    {static_cast<HRESULT>(0x8876005AL), "DDERR_HEIGHTALIGN"},
    {static_cast<HRESULT>(0x8876005FL), "DDERR_INCOMPATIBLEPRIMARY"},
    {static_cast<HRESULT>(0x88760064L), "DDERR_INVALIDCAPS"},
    {static_cast<HRESULT>(0x8876006EL), "DDERR_INVALIDCLIPLIST"},
    {static_cast<HRESULT>(0x88760078L), "DDERR_INVALIDMODE"},
    {static_cast<HRESULT>(0x88760082L), "DDERR_INVALIDOBJECT"},
    {static_cast<HRESULT>(0x88760091L), "DDERR_INVALIDPIXELFORMAT"},
    {static_cast<HRESULT>(0x88760096L), "DDERR_INVALIDRECT"},
    {static_cast<HRESULT>(0x887600A0L), "DDERR_LOCKEDSURFACES"},
    {static_cast<HRESULT>(0x887600AAL), "DDERR_NO3D"},
    {static_cast<HRESULT>(0x887600B4L), "DDERR_NOALPHAHW"},
    {static_cast<HRESULT>(0x887600CDL), "DDERR_NOCLIPLIST"},
    {static_cast<HRESULT>(0x887600D2L), "DDERR_NOCOLORCONVHW"},
    {static_cast<HRESULT>(0x887600D4L), "DDERR_NOCOOPERATIVELEVELSET"},
    {static_cast<HRESULT>(0x887600D7L), "DDERR_NOCOLORKEY"},
    {static_cast<HRESULT>(0x887600DCL), "DDERR_NOCOLORKEYHW"},
    {static_cast<HRESULT>(0x887600DEL), "DDERR_NODIRECTDRAWSUPPORT"},
    {static_cast<HRESULT>(0x887600E1L), "DDERR_NOEXCLUSIVEMODE"},
    {static_cast<HRESULT>(0x887600E6L), "DDERR_NOFLIPHW"},
    {static_cast<HRESULT>(0x887600F0L), "DDERR_NOGDI"},
    {static_cast<HRESULT>(0x887600FAL), "DDERR_NOMIRRORHW"},
    {static_cast<HRESULT>(0x887600FFL), "DDERR_NOTFOUND"},
    {static_cast<HRESULT>(0x88760104L), "DDERR_NOOVERLAYHW"},
    {static_cast<HRESULT>(0x88760118L), "DDERR_NORASTEROPHW"},
    {static_cast<HRESULT>(0x88760122L), "DDERR_NOROTATIONHW"},
    {static_cast<HRESULT>(0x88760136L), "DDERR_NOSTRETCHHW"},
    {static_cast<HRESULT>(0x8876013CL), "DDERR_NOT4BITCOLOR"},
    {static_cast<HRESULT>(0x8876013DL), "DDERR_NOT4BITCOLORINDEX"},
    {static_cast<HRESULT>(0x88760140L), "DDERR_NOT8BITCOLOR"},
    {static_cast<HRESULT>(0x8876014AL), "DDERR_NOTEXTUREHW"},
    {static_cast<HRESULT>(0x8876014FL), "DDERR_NOVSYNCHW"},
    {static_cast<HRESULT>(0x88760154L), "DDERR_NOZBUFFERHW"},
    {static_cast<HRESULT>(0x8876015EL), "DDERR_NOZOVERLAYHW"},
    {static_cast<HRESULT>(0x88760168L), "DDERR_OUTOFCAPS"},
    {static_cast<HRESULT>(0x8876017CL), "－ビデオメモリが足りません　スクリーンの解像度や色数を下げてみてください"},
    {static_cast<HRESULT>(0x8876017EL), "DDERR_OVERLAYCANTCLIP"},
    {static_cast<HRESULT>(0x88760180L), "DDERR_OVERLAYCOLORKEYONLYONEACTIVE"},
    {static_cast<HRESULT>(0x88760183L), "DDERR_PALETTEBUSY"},
    {static_cast<HRESULT>(0x88760190L), "DDERR_COLORKEYNOTSET"},
    {static_cast<HRESULT>(0x8876019AL), "DDERR_SURFACEALREADYATTACHED"},
    {static_cast<HRESULT>(0x887601A4L), "DDERR_SURFACEALREADYDEPENDENT"},
    {static_cast<HRESULT>(0x887601AEL), "DDERR_SURFACEBUSY"},
    {static_cast<HRESULT>(0x887601B3L), "DDERR_CANTLOCKSURFACE"},
    {static_cast<HRESULT>(0x887601B8L), "DDERR_SURFACEISOBSCURED"},
    {static_cast<HRESULT>(0x887601C2L), "DDERR_SURFACELOST"},
    {static_cast<HRESULT>(0x887601CCL), "DDERR_SURFACENOTATTACHED"},
    {static_cast<HRESULT>(0x887601D6L), "DDERR_TOOBIGHEIGHT"},
    {static_cast<HRESULT>(0x887601E0L), "DDERR_TOOBIGSIZE"},
    {static_cast<HRESULT>(0x887601EAL), "DDERR_TOOBIGWIDTH"},
    {static_cast<HRESULT>(0x887601FEL), "DDERR_UNSUPPORTEDFORMAT"},
    {static_cast<HRESULT>(0x88760208L), "DDERR_UNSUPPORTEDMASK"},
    {static_cast<HRESULT>(0x88760219L), "DDERR_VERTICALBLANKINPROGRESS"},
    {static_cast<HRESULT>(0x8876021CL), "DDERR_WASSTILLDRAWING"},
    {static_cast<HRESULT>(0x88760230L), "DDERR_XALIGN"},
    {static_cast<HRESULT>(0x88760231L), "DDERR_INVALIDDIRECTDRAWGUID"},
    {static_cast<HRESULT>(0x88760232L), "DDERR_DIRECTDRAWALREADYCREATED"},
    {static_cast<HRESULT>(0x88760233L), "DDERR_NODIRECTDRAWHW"},
    {static_cast<HRESULT>(0x88760234L), "DDERR_PRIMARYSURFACEALREADYEXISTS"},
    {static_cast<HRESULT>(0x88760235L), "DDERR_NOEMULATION"},
    {static_cast<HRESULT>(0x88760236L), "DDERR_REGIONTOOSMALL"},
    {static_cast<HRESULT>(0x88760237L), "DDERR_CLIPPERISUSINGHWND"},
    {static_cast<HRESULT>(0x88760238L), "DDERR_NOCLIPPERATTACHED"},
    {static_cast<HRESULT>(0x88760239L), "DDERR_NOHWND"},
    {static_cast<HRESULT>(0x8876023AL), "DDERR_HWNDSUBCLASSED"},
    {static_cast<HRESULT>(0x8876023BL), "DDERR_HWNDALREADYSET"},
    {static_cast<HRESULT>(0x8876023CL), "DDERR_NOPALETTEATTACHED"},
    {static_cast<HRESULT>(0x8876023DL), "DDERR_NOPALETTEHW"},
    {static_cast<HRESULT>(0x8876023EL), "DDERR_BLTFASTCANTCLIP"},
    {static_cast<HRESULT>(0x8876023FL), "DDERR_NOBLTHW"},
    {static_cast<HRESULT>(0x88760240L), "DDERR_NODDROPSHW"},
    {static_cast<HRESULT>(0x88760241L), "DDERR_OVERLAYNOTVISIBLE"},
    {static_cast<HRESULT>(0x88760242L), "DDERR_NOOVERLAYDEST"},
    {static_cast<HRESULT>(0x88760243L), "DDERR_INVALIDPOSITION"},
    {static_cast<HRESULT>(0x88760244L), "DDERR_NOTAOVERLAYSURFACE"},
    {static_cast<HRESULT>(0x88760245L), "DDERR_EXCLUSIVEMODEALREADYSET"},
    {static_cast<HRESULT>(0x88760246L), "DDERR_NOTFLIPPABLE"},
    {static_cast<HRESULT>(0x88760247L), "DDERR_CANTDUPLICATE"},
    {static_cast<HRESULT>(0x88760248L), "DDERR_NOTLOCKED"},
    {static_cast<HRESULT>(0x88760249L), "DDERR_CANTCREATEDC"},
    {static_cast<HRESULT>(0x8876024AL), "DDERR_NODC"},
    {static_cast<HRESULT>(0x8876024BL), "DDERR_WRONGMODE"},
    {static_cast<HRESULT>(0x8876024CL), "DDERR_IMPLICITLYCREATED"},
    {static_cast<HRESULT>(0x8876024DL), "DDERR_NOTPALETTIZED"},
    {static_cast<HRESULT>(0x8876024EL), "DDERR_UNSUPPORTEDMODE"},
    {static_cast<HRESULT>(0x8876024FL), "DDERR_NOMIPMAPHW"},
    {static_cast<HRESULT>(0x88760250L), "DDERR_INVALIDSURFACETYPE"},
    {static_cast<HRESULT>(0x8876026CL), "DDERR_DCALREADYCREATED"},
    {static_cast<HRESULT>(0x88760280L), "DDERR_CANTPAGELOCK"},
    {static_cast<HRESULT>(0x88760294L), "DDERR_CANTPAGEUNLOCK"},
    {static_cast<HRESULT>(0x887602A8L), "DDERR_NOTPAGELOCKED"},
};

// Consecutive retained-mode codes.
const NvxErrorName kNvxRMErrorNames[13] = {
    {static_cast<HRESULT>(0x8876030DL), "D3DRMERR_BADOBJECT"},
    {static_cast<HRESULT>(0x8876030EL), "D3DRMERR_BADTYPE"},
    {static_cast<HRESULT>(0x8876030FL), "D3DRMERR_BADALLOC"},
    {static_cast<HRESULT>(0x88760310L), "D3DRMERR_FACEUSED"},
    {static_cast<HRESULT>(0x88760311L), "D3DRMERR_NOTFOUND"},
    {static_cast<HRESULT>(0x88760312L), "D3DRMERR_NOTDONEYET"},
    {static_cast<HRESULT>(0x88760313L), "D3DRMERR_FILENOTFOUND"},
    {static_cast<HRESULT>(0x88760314L), "D3DRMERR_BADFILE"},
    {static_cast<HRESULT>(0x88760315L), "D3DRMERR_BADDEVICE"},
    {static_cast<HRESULT>(0x88760316L), "D3DRMERR_BADVALUE"},
    {static_cast<HRESULT>(0x88760317L), "D3DRMERR_BADMAJORVERSION"},
    {static_cast<HRESULT>(0x88760318L), "D3DRMERR_BADMINORVERSION"},
    {static_cast<HRESULT>(0x88760319L), "D3DRMERR_UNABLETOEXECUTE"},
};

namespace {

const char kUnknownError[] = "Unknown Error";

int g_tentativeDepth = 0;

void KeepFatalText(const char* text) {
    char* fatal = g_deviceState.fatalText;
    if (text == fatal) return;
    std::strncpy(fatal, text ? text : "", sizeof g_deviceState.fatalText - 1);
    fatal[sizeof g_deviceState.fatalText - 1] = '\0';
}

template <size_t N>
const char* Lookup(const NvxErrorName (&table)[N], HRESULT code) {
    for (const NvxErrorName& row : table)
        if (row.code == code) return row.name;
    return kUnknownError;
}

[[noreturn]] void Report(const char* format, const char* name) {
    char nameBuffer[256];
    char message[1024];
    std::snprintf(nameBuffer, sizeof nameBuffer, "%s", name);
    std::snprintf(message, sizeof message, format, nameBuffer);
    NvxFatalError(message);
}

}  // namespace

const char* NvxDDErrorName(HRESULT code) { return Lookup(kNvxDDErrorNames, code); }

const char* NvxRMErrorName(HRESULT code) { return Lookup(kNvxRMErrorNames, code); }

void NvxReportDDError(HRESULT code) { Report("DirectDraw Error %s", NvxDDErrorName(code)); }

void NvxReportRMError(HRESULT code) { Report("Direct3D-RM Error : %s", NvxRMErrorName(code)); }

void NvxFatalError(const char* text) {
    KeepFatalText(text);
    if (NvxSetUpIsTentative()) throw NvxSetUpFailure{};
    AfxMessageBox(g_deviceState.fatalText, MB_OK, 0);
    AfxExitProcess(1);
}

void NvxShowMessage(const char* text) {
    if (NvxSetUpIsTentative()) {
        KeepFatalText(text);
        return;
    }
    AfxMessageBox(text, MB_OK);
}

NvxTentativeSetUp::NvxTentativeSetUp() { ++g_tentativeDepth; }

NvxTentativeSetUp::~NvxTentativeSetUp() { --g_tentativeDepth; }

bool NvxSetUpIsTentative() { return g_tentativeDepth > 0; }
