// The remote control panel.
#include "tools/remote.h"

#include "pictures/policy.h"
#include "tools/picture_dialog.h"
#include "toolbox.h"

namespace {

enum {
    PIC_REMOTE = 123,
    MASK_REMOTE = 124,
    PIC_FIRST_LIT = 125,  // 125..132: the lit buttons in command order
    PIC_LIGHT = 133,
    SOUND_CLICK = 1015,
    PAUSE_MS = 500,  // the press is heard and seen before the room reacts
};

const RECT kButtons[REMOTE_BUTTONS] = {
    {31, 7, 102, 46},   {29, 46, 101, 87},  {26, 88, 101, 131},  {23, 132, 101, 179},
    {125, 7, 195, 46},  {125, 46, 198, 87}, {126, 88, 201, 131}, {127, 132, 205, 179},
};
const RECT kBack = {20, 221, 81, 235};
const POINT kLight = {104, 2};

RemoteState* StateOf(PictureDialog* d) { return (RemoteState*)d->data; }

// Draws a picture resource 1:1 with its top-left corner at (x, y) of the face.
void DrawPicture(int face, int id, int x, int y)
{
    RECT size;
    int picture = tb_CreateBitmap(&size, id, 24);
    if (picture < 0) return;
    RECT dest = {x, y, x + size.right, y + size.bottom};
    tb_CopyBitmap(picture, face, &size, &dest);
    tb_DisposeBitmap(picture);
}

void Draw(PictureDialog* d, int face)
{
    RECT image, mask;
    int remote = tb_CreateBitmap(&image, PIC_REMOTE, 24);
    int remoteMask = tb_CreateBitmap(&mask, MASK_REMOTE, 8);
    if (remote >= 0 && remoteMask >= 0) tb_CopyBitmapMasked(remote, remoteMask, face, &image, &mask, &image);
    if (remote >= 0) tb_DisposeBitmap(remote);
    if (remoteMask >= 0) tb_DisposeBitmap(remoteMask);

    const RemoteState* s = StateOf(d);
    for (int i = 0; i < REMOTE_BUTTONS; ++i)
        if (s->lit[i]) DrawPicture(face, PIC_FIRST_LIT + i, kButtons[i].left, kButtons[i].top);
    if (s->light) DrawPicture(face, PIC_LIGHT, kLight.x, kLight.y);
}

int Reacts(PictureDialog*, int x, int y) { return remote_HitTest(x, y) != -2; }

// A press lights the button under the point and puts out every other one.
void Press(PictureDialog* d, int x, int y)
{
    RemoteState* s = StateOf(d);
    int hit = remote_HitTest(x, y);
    int changed = 0;
    for (int i = 0; i < REMOTE_BUTTONS; ++i) {
        if (s->lit[i] && i != hit) {
            s->lit[i] = 0;
            changed = 1;
        }
    }
    if (hit >= 0 && !s->lit[hit]) {
        s->lit[hit] = 1;
        s->light = 1;
        changed = 1;
    }
    if (changed) picture_Redraw(d);
}

// The button under the release point is the one carried out, wherever the press was.
void Release(PictureDialog* d, int x, int y)
{
    int result = remote_HitTest(x, y);
    // A button a grown-up closed sounds like nothing.
    if (policy_RefusesCommand(result))
        policy_PlayNothing();
    else
        tb_PlaySoundNoStop(SOUND_CLICK);
    RemoteState* s = StateOf(d);
    *s = RemoteState{};
    picture_Redraw(d);
    if (result >= 0) tb_Wait(PAUSE_MS);
    if (result != -2) picture_EndDialog(d, result);
}

}  // namespace

RECT remote_ButtonRect(int button)
{
    if (button < 0 || button >= REMOTE_BUTTONS) return RECT{0, 0, 0, 0};
    return kButtons[button];
}

RECT remote_BackRect(void) { return kBack; }

int remote_HitTest(int x, int y)
{
    POINT p = {x, y};
    if (PtInRect(&kBack, p)) return -1;
    for (int i = 0; i < REMOTE_BUTTONS; ++i)
        if (PtInRect(&kButtons[i], p)) return i;
    return -2;
}

int remote_Run(void)
{
    RemoteState state = {};
    PictureDialog d = {};
    d.width = REMOTE_WIDTH;
    d.height = REMOTE_HEIGHT;
    // Escape means Back: a child reaching for the key must not quit the program.
    d.escapeResult = -1;
    d.data = &state;
    d.draw = Draw;
    d.reacts = Reacts;
    d.press = Press;
    d.release = Release;
    INT_PTR result = picture_RunDialog(&d);
    return (result >= 0 && result < REMOTE_BUTTONS) ? (int)result : -1;
}
