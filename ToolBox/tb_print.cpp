// Printing: the platform's print dialog, one document of one page on the chosen printer, and the
// printable area. While a job is open the printer is the drawing target 9000.
#include "tb_internal.h"

#include <cderr.h>
#include <commdlg.h>

namespace {

// Kept between jobs, but prepared afresh before every dialog, so that each print starts from the
// system's default printer and settings.
PRINTDLGA printDialog;

const char* PrintErrorText(DWORD code)
{
    switch (code) {
    case 1: return "Structure size bad";
    case 2: return "Failed to Initialize printer";
    case 3: return "No template";
    case 4: return "No instance";
    case 5: return "Failed to load string";
    case 6: return "Failed to find resource";
    case 7: return "Failed to load resource";
    case 8: return "Failed to lock resource";
    case 9: return "Failed to allocate memory";
    case 10: return "Failed to lock memory";
    case 11: return "No hook";
    case 4098: return "Parse failure";
    case 4099: return "RetDef failure";
    case 4100: return "Failed to load driver";
    case 4101: return "Failed to get device mode";
    case 4102: return "Failed to init";
    case 4103: return "No devices";
    case 4104: return "No default printer";
    case 4105: return "DNDM Mismatch";
    case 4106: return "Failed to create Information Context";
    case 4107: return "Printer not Found";
    case 4108: return "Different Defaults";
    default: return nullptr;
    }
}

void Forget(HGLOBAL* handle)
{
    if (*handle) GlobalFree(*handle);
    *handle = nullptr;
}

// The common dialogs' library is loaded only when the child first prints.
BOOL WINAPI PlatformPrintDialog(tagPDA* dialog)
{
    typedef BOOL(WINAPI * PrintDlgProc)(LPPRINTDLGA);
    PrintDlgProc printDlg = (PrintDlgProc)(void*)tb_SystemProc("COMDLG32", "PrintDlgA");
    return printDlg ? printDlg(dialog) : FALSE;
}

int WINAPI PlatformStretch(HDC dc, int x, int y, int w, int h, int sx, int sy, int sw, int sh, const void* bits,
                           const BITMAPINFO* info, UINT usage, DWORD rop)
{
    return StretchDIBits(dc, x, y, w, h, sx, sy, sw, sh, bits, info, usage, rop);
}

// A call of the job failed: nothing more is sent to the printer, and its end abandons it.
bool jobFailed;

void Check(bool ok)
{
    if (!ok) jobFailed = true;
}

void LetGoOfPrinter(void)
{
    DeleteDC(tb.printerDC);
    tb_SetPrinterDC(nullptr);
    printDialog.hDC = nullptr;
}

}  // namespace

TB_PrintCalls tb_printCalls = {PlatformPrintDialog, StartDocA, StartPage, EndPage, EndDoc, AbortDoc, PlatformStretch};

void tb_NotePrintFailure(void) { jobFailed = true; }

int tb_PrintJobFailed(void) { return jobFailed; }

const char* tb_PrintErrorText(DWORD code) { return PrintErrorText(code); }

int tb_BeginPrint(void)
{
    if (tb.printerDC) tb_EndPrint();
    Forget(&printDialog.hDevMode);
    Forget(&printDialog.hDevNames);
    printDialog.lStructSize = sizeof printDialog;
    printDialog.hwndOwner = tb.mainWindow;
    printDialog.hDC = nullptr;
    printDialog.Flags = PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS | PD_COLLATE | PD_HIDEPRINTTOFILE;
    printDialog.nFromPage = 1;
    printDialog.nToPage = 1;
    printDialog.nMinPage = 1;
    printDialog.nMaxPage = 1;
    printDialog.nCopies = 1;
    printDialog.hInstance = nullptr;

    typedef DWORD(WINAPI * ErrorProc)(void);
    ErrorProc extendedError = (ErrorProc)(void*)tb_SystemProc("COMDLG32", "CommDlgExtendedError");
    BOOL ok = tb_printCalls.printDialog(&printDialog);
    if (const char* text = PrintErrorText(extendedError ? extendedError() : 0)) {
        tb_AttentionBox(text);
        ok = FALSE;
    }
    if (!ok || !printDialog.hDC) {
        if (printDialog.hDC) DeleteDC(printDialog.hDC);
        printDialog.hDC = nullptr;
        return -1;
    }
    DOCINFOA document = {};
    document.cbSize = sizeof document;
    document.lpszDocName = "";
    document.lpszOutput = nullptr;
    jobFailed = false;
    Check(tb_printCalls.startDoc(printDialog.hDC, &document) > 0);
    tb_SetPrinterDC(printDialog.hDC);
    return TB_PRINTER;
}

void tb_StartPage(void)
{
    if (tb.printerDC && !jobFailed) Check(tb_printCalls.startPage(tb.printerDC) > 0);
}

void tb_EndPage(void)
{
    if (tb.printerDC && !jobFailed) Check(tb_printCalls.endPage(tb.printerDC) > 0);
}

int tb_EndPrint(void)
{
    if (!tb.printerDC) return 0;
    if (!jobFailed) Check(tb_printCalls.endDoc(tb.printerDC) > 0);
    if (jobFailed) tb_printCalls.abortDoc(tb.printerDC);
    LetGoOfPrinter();
    return jobFailed ? 0 : 1;
}

void tb_AbortPrint(void)
{
    if (!tb.printerDC) return;
    tb_printCalls.abortDoc(tb.printerDC);
    LetGoOfPrinter();
}

void tb_GetPrintableRect(RECT* rect)
{
    if (!rect) return;
    SetRect(rect, 0, 0, 0, 0);
    HDC dc = tb.printerDC;
    if (!dc) return;
    float inchesWide = (float)GetDeviceCaps(dc, HORZSIZE) / 25.4f;
    float inchesHigh = (float)GetDeviceCaps(dc, VERTSIZE) / 25.4f;
    rect->right = (LONG)(GetDeviceCaps(dc, LOGPIXELSX) * inchesWide);
    rect->bottom = (LONG)(GetDeviceCaps(dc, LOGPIXELSY) * inchesHigh);
}
