// The slots through which the dispatcher reaches the picture files, with their defaults.
#include "pictures/pictures.h"

int pictures_SaveBeforeNotYet(const char*) { return 1; }
void pictures_NothingYet(void) {}
int pictures_NothingLoadedYet(void) { return 0; }

PictureCommands pictureCommands = {
    pictures_SaveBeforeNotYet, pictures_NothingYet,       pictures_NothingYet,
    pictures_NothingLoadedYet, pictures_NothingLoadedYet, pictures_NothingYet,
};
