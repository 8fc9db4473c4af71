// Reads what another process holds. Windows and Wine keep each process's GDI handles in a table
// of 65536 entries of 24 bytes whose address the process's PEB carries; GetGuiResources is not
// answered by Wine (it returns 0), so the table is what tells how many GDI objects live.
#include "process_usage.h"

#include <psapi.h>
#include <winternl.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

#pragma pack(push, 1)
struct TableEntry {
    unsigned long long object;
    unsigned short ownerPid;
    unsigned short count;
    unsigned short unique;
    unsigned char type;
    unsigned char flags;
    unsigned long long userPointer;
};
#pragma pack(pop)
static_assert(sizeof(TableEntry) == 24, "a GDI handle table entry is 24 bytes");

const int kTableEntries = 0x10000;
// Where the PEB keeps the table's address.
const size_t kPebTableOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;

typedef LONG(NTAPI* QueryProcess)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);

bool ReadRemote(HANDLE process, const void* at, void* to, size_t size)
{
    SIZE_T got = 0;
    return ReadProcessMemory(process, at, to, size, &got) && got == size;
}

}  // namespace

GdiCount usage_CountGdi(HANDLE process, DWORD ownerPid)
{
    GdiCount count;
    memset(&count, 0, sizeof count);
    count.total = -1;
    QueryProcess query = (QueryProcess)(void*)GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess");
    if (!query) return count;
    PROCESS_BASIC_INFORMATION basic;
    memset(&basic, 0, sizeof basic);
    ULONG length = 0;
    if (query(process, ProcessBasicInformation, &basic, sizeof basic, &length) != 0 || !basic.PebBaseAddress)
        return count;
    const void* table = nullptr;
    if (!ReadRemote(process, (const char*)basic.PebBaseAddress + kPebTableOffset, &table, sizeof table) || !table)
        return count;
    std::vector<TableEntry> entries(kTableEntries);
    if (!ReadRemote(process, table, entries.data(), entries.size() * sizeof(TableEntry))) return count;
    count.total = 0;
    for (const TableEntry& e : entries) {
        if (e.type == 0) continue;
        if (ownerPid != 0 && e.ownerPid != 0 && e.ownerPid != (ownerPid & 0xFFFF)) continue;
        ++count.total;
        ++count.byType[e.type & 31];
    }
    return count;
}

bool usage_Read(HWND window, ProcessUsage* out)
{
    memset(out, 0, sizeof *out);
    GetWindowThreadProcessId(window, &out->pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, out->pid);
    if (!process) return false;
    out->gdi = usage_CountGdi(process, out->pid);
    SetLastError(0);
    out->guiGdi = GetGuiResources(process, GR_GDIOBJECTS);
    out->guiUser = GetGuiResources(process, GR_USEROBJECTS);
    out->guiError = GetLastError();
    PROCESS_MEMORY_COUNTERS counters;
    memset(&counters, 0, sizeof counters);
    counters.cb = sizeof counters;
    out->memoryKnown = GetProcessMemoryInfo(process, &counters, sizeof counters) != 0;
    out->workingSet = counters.WorkingSetSize;
    out->privateBytes = counters.PagefileUsage;
    CloseHandle(process);
    return true;
}

bool usage_SelfCheck(void)
{
    const int kEach = 40;
    HANDLE self = GetCurrentProcess();
    const DWORD pid = GetCurrentProcessId();
    HDC screen = GetDC(nullptr);
    const GdiCount before = usage_CountGdi(self, pid);
    if (before.total < 0) {
        ReleaseDC(nullptr, screen);
        printf("selfcheck=no table\n");
        return false;
    }
    std::vector<HGDIOBJ> made;
    for (int i = 0; i < kEach; ++i) {
        made.push_back(CreateCompatibleBitmap(screen, 8, 8));
        made.push_back(CreateSolidBrush(RGB(i, 0, 0)));
        made.push_back(CreateRectRgn(0, 0, i + 1, i + 1));
    }
    const GdiCount during = usage_CountGdi(self, pid);
    for (HGDIOBJ o : made) DeleteObject(o);
    const GdiCount after = usage_CountGdi(self, pid);
    ReleaseDC(nullptr, screen);
    const int created = (int)made.size();
    printf("selfcheck_before=%d\nselfcheck_with_%d_more=%d\nselfcheck_after_deleting=%d\n", before.total, created,
           during.total, after.total);
    bool ok = during.total - before.total == created && after.total == before.total;
    for (HGDIOBJ o : made) ok = ok && o != nullptr;
    printf("selfcheck=%s\n", ok ? "ok" : "failed");
    return ok;
}
