// The slots through which the dispatcher reaches the picture files, with their defaults.
#include "pictures/pictures.h"

#include "pictures/picture_files.h"

int pictures_SaveBeforeNotYet(const char*) { return 1; }
void pictures_NothingYet(void) {}
int pictures_NothingLoadedYet(void) { return 0; }

PictureCommands pictureCommands = {
    pictures_SaveBefore,    pictures_Save,       pictures_Open,
    pictures_BrowseGallery, pictures_OfferPages, pictures_Print,
};
