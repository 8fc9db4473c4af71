// The preferences dialog.
#include "tools/preferences_dialog.h"

#include "pictures/policy.h"
#include "pictures/preferences.h"
#include "toolbox.h"
#include "tools/picture_dialog.h"

namespace {

enum { PIC_PREFERENCES = 900, SOUND_CLICK = 1035 };

// Left of each column's cells; the top cells span 78..142, the bottom ones 155..219.
const int kColumnLeft[PREFS_COLUMNS] = {52, 134, 216, 297};
const RECT kOk = {290, 235, 327, 272};
const RECT kCancel = {327, 235, 363, 272};

enum { HIT_NOTHING = -1, HIT_OK = 100, HIT_CANCEL = 101 };

PrefsDialogState* StateOf(PictureDialog* d) { return (PrefsDialogState*)d->data; }

bool In(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

// A cell as column * 2 + top, OK, cancel or nothing.
int HitTest(int x, int y)
{
    if (In(kOk, x, y)) return HIT_OK;
    if (In(kCancel, x, y)) return HIT_CANCEL;
    for (int column = 0; column < PREFS_COLUMNS; ++column)
        for (int top = 0; top <= 1; ++top)
            if (In(prefsDialog_Cell(column, top), x, y)) return column * 2 + top;
    return HIT_NOTHING;
}

void Draw(PictureDialog* d, int face)
{
    RECT size;
    int picture = tb_CreateBitmap(&size, PIC_PREFERENCES, 24);
    if (picture >= 0) {
        tb_CopyBitmap(picture, face, &size, &size);
        tb_DisposeBitmap(picture);
    }
    const PrefsDialogState* s = StateOf(d);
    tb_SetForeColor(face, 0, 65025, 0);
    for (int column = 0; column < PREFS_COLUMNS; ++column) {
        RECT cell = prefsDialog_Cell(column, s->top[column]);
        tb_FrameRect(face, &cell);
    }
}

// A cell of a column whose setting a grown-up fixed: it shows that setting and takes no click.
bool Locked(int hit)
{
    static const int kPolicyOfColumn[PREFS_COLUMNS] = {POLICY_SOUND, POLICY_ANIMATION, POLICY_STRETCH,
                                                       POLICY_LIGHT_PRINT};
    return hit >= 0 && hit < PREFS_COLUMNS * 2 && policy_LocksPreference(kPolicyOfColumn[hit / 2]);
}

int Reacts(PictureDialog*, int x, int y) { return HitTest(x, y) != HIT_NOTHING; }

void Press(PictureDialog*, int x, int y)
{
    int hit = HitTest(x, y);
    if (Locked(hit))
        policy_PlayNothing();
    else if (hit != HIT_NOTHING)
        tb_PlaySoundNoStop(SOUND_CLICK);
}

void Release(PictureDialog* d, int x, int y)
{
    int hit = HitTest(x, y);
    if (hit == HIT_OK) return picture_EndDialog(d, 1);
    if (hit == HIT_CANCEL) return picture_EndDialog(d, -1);
    if (hit == HIT_NOTHING || Locked(hit)) return;
    StateOf(d)->top[hit / 2] = hit % 2;
    picture_Redraw(d);
}

}  // namespace

RECT prefsDialog_Cell(int column, int top)
{
    if (column < 0 || column >= PREFS_COLUMNS) return RECT{0, 0, 0, 0};
    int left = kColumnLeft[column];
    RECT r = {left, top ? 78 : 155, left + 64, top ? 142 : 219};
    InflateRect(&r, 4, 4);
    return r;
}

PrefsDialogState prefsDialog_FromSettings(void)
{
    PrefsDialogState s;
    s.top[PREFS_SOUND] = tb_GetSoundPreference() != 0;
    s.top[PREFS_ANIMATION] = preferences.animation != 0;
    s.top[PREFS_STRETCH] = preferences.stretchPictures != 0;
    // The top picture prints at full strength: light print off.
    s.top[PREFS_PRINT] = preferences.lightPrint == 0;
    return s;
}

void prefsDialog_ToSettings(const PrefsDialogState& s)
{
    tb_SetSoundPreference(s.top[PREFS_SOUND]);
    preferences.animation = s.top[PREFS_ANIMATION];
    preferences.stretchPictures = s.top[PREFS_STRETCH];
    preferences.lightPrint = !s.top[PREFS_PRINT];
}

int prefsDialog_Run(void)
{
    PrefsDialogState state = prefsDialog_FromSettings();
    PictureDialog d = {};
    d.width = PREFS_DIALOG_WIDTH;
    d.height = PREFS_DIALOG_HEIGHT;
    d.escapeResult = 0;
    d.data = &state;
    d.draw = Draw;
    d.reacts = Reacts;
    d.press = Press;
    d.release = Release;
    INT_PTR result = picture_RunDialog(&d);
    if (result == 1) {
        prefsDialog_ToSettings(state);
        return 1;
    }
    return result == -1 ? -1 : 0;
}
