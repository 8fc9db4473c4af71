// The eraser rubs white squares into the picture, the spray can scatters single pixels of the
// colour around the pointer, and the jar floods the area of one colour under the pointer.
#include "tools/eraser_spray.h"

#include <cmath>

#include "toolbox.h"
#include "tools/effects.h"
#include "tools/pencil.h"

namespace {

int Half(int size) { return size / 2 >= 1 ? size / 2 : 1; }

void SetPictureColor(SceneObject* object, long red, long green, long blue)
{
    tb_SetForeColor(object->pictureBitmap, red, green, blue);
    tb_SetBackColor(object->pictureBitmap, red, green, blue);
}

// ---------------------------------------------------------------- eraser

void EraseSquare(SceneObject* object, int x, int y)
{
    SetPictureColor(object, 65025, 65025, 65025);
    const int h = Half(object->size);
    RECT square = {x - h, y - h, x + h, y + h};
    tb_PaintRect(object->pictureBitmap, &square);
}

void EraserPress(SceneObject* object, int x, int y)
{
    EraseSquare(object, x, y);
    object->active = 1;
    tb_SetCursor(object->cursorId);
}

void EraserDrag(SceneObject* object, int x, int y)
{
    if (!object->active) return;
    tb_PlaySoundNoStop(ERASER_SOUND);
    EraseSquare(object, x, y);
    tb_SetCursor(object->cursorId);
}

void ClearActive(SceneObject* object, int x, int y) { object->active = 0; }

// ---------------------------------------------------------------- spray can

// One offset: a radius, a sign and an angle, drawn in this order.
double Offset(int h, double (*axis)(double))
{
    const double radians = 3.14159265358979323846 / 180.0;
    int r = tb_Random(1, h);
    int s = tb_Random(1, 2);
    int a = tb_Random(0, 90);
    return axis(a * radians) * r * (s == 1 ? 1 : -1);
}

double Cosine(double a) { return std::cos(a); }
double Sine(double a) { return std::sin(a); }

void SprayPress(SceneObject* object, int x, int y)
{
    tb_LoopSound(SPRAY_SOUND);
    SetPictureColor(object, object->red, object->green, object->blue);
    spray_Burst(object, x, y);
    object->active = 1;
    tb_SetCursor(object->cursorId);
}

void SprayDrag(SceneObject* object, int x, int y)
{
    if (!object->active) return;
    SetPictureColor(object, object->red, object->green, object->blue);
    spray_Burst(object, x, y);
    tb_SetCursor(object->cursorId);
}

void SprayRelease(SceneObject* object, int x, int y)
{
    object->active = 0;
    tb_StopSound();
}

// ---------------------------------------------------------------- jar

RECT g_lastFill = {0, 0, 0, 0};  // picture coordinates

void JarPress(SceneObject* object, int x, int y)
{
    tb_PlaySoundNoStop(JAR_SOUND);
    long red, green, blue;
    tb_GetPixelRGB(object->pictureBitmap, x, y, &red, &green, &blue);
    SetPictureColor(object, object->red, object->green, object->blue);
    tb_FloodFillBounded(object->pictureBitmap, x, y, red, green, blue, &g_lastFill);
    object->active = 1;
    tb_SetCursor(object->cursorId);
}

void JarDrag(SceneObject* object, int x, int y) {}

}  // namespace

RECT jar_LastFill(void) { return g_lastFill; }

void spray_Burst(SceneObject* object, int x, int y)
{
    const int h = Half(object->size);
    for (int i = 0; i < 2 * h; ++i) {
        // The two offsets come from draws of their own: the dots fill a square, not a disc.
        int dx = tb_Round(Offset(h, Cosine));
        int dy = tb_Round(Offset(h, Sine));
        tb_SetPixelRGB(object->pictureBitmap, x + dx, y + dy, object->red, object->green, object->blue);
    }
}

void eraser_Install(SceneObject* object)
{
    object->Press = EraserPress;
    object->Drag = EraserDrag;
    object->Release = ClearActive;
    object->DrawOptions = sizePanel_DrawA;
    object->ClickOptions = sizePanel_ClickA;
}

void spray_Install(SceneObject* object)
{
    object->Press = SprayPress;
    object->Drag = SprayDrag;
    object->Release = SprayRelease;
    object->DrawOptions = sizePanel_DrawB;
    object->ClickOptions = sizePanel_ClickB;
}

void jar_Install(SceneObject* object)
{
    object->Press = JarPress;
    object->Drag = JarDrag;
    object->Release = ClearActive;
}
