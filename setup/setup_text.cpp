// The installer's texts: the agreement, the error sentences and the contact lines that follow them.
#include "setup/setup.h"

#include <cstdio>

#include "toolbox.h"

const char setup_kAgreement[] =
    "Welcome to Tintwell!\r\n"
    "\r\n"
    "Tintwell is a free painting program for children. It opens an illustrated room with "
    "pencils, brushes, stamps, paint cans and toys, and a picture in the middle to paint on.\r\n"
    "\r\n"
    "Before you install it, please read these few lines.\r\n"
    "\r\n"
    "1. Tintwell costs nothing. You may use it at home, at school and anywhere else, on as many "
    "computers as you like. Some of its pictures are made with outside material; the NOTICE file "
    "beside Setup names it and its licences.\r\n"
    "\r\n"
    "2. Tintwell is made by volunteers and comes as it is, without any warranty. We have tried "
    "hard to make it safe and pleasant, but we cannot promise that it is free of mistakes, and we "
    "cannot be held responsible for any harm that comes from using it.\r\n"
    "\r\n"
    "3. Tintwell collects nothing about you or your child and sends nothing anywhere. The "
    "pictures your child saves stay in the Gallery folder on this computer.\r\n"
    "\r\n"
    "4. Setup copies the program, its help and its coloring pages into the folder you choose on "
    "the next page, adds a Tintwell group to the Start menu and records the folder in the "
    "registry. You can remove Tintwell again from the list of installed programs (or with "
    "uninstall.exe in its folder); the pictures in the Gallery are left in place.\r\n"
    "\r\n"
    "If you agree, press Next >> to go on. If you do not agree, press Cancel and nothing will "
    "be installed.\r\n"
    "\r\n"
    "Have fun painting!\r\n";

const char setup_kContactLines[] =
    "\n\nTintwell is a free program made by volunteers; there is no telephone line or office to "
    "call.\nPlease read the ReadMe file beside Setup: it tells how to install Tintwell by hand and "
    "where to ask for help.";

const char setup_kCantRun[] =
    "Can't run Setup. Please see the ReadMe file\nfor information on how to run Tintwell\nwithout using this Setup.";
const char setup_kMissingFiles[] = "Setup cannot find all of the files required for installation.";
const char setup_kNoDestination[] = "Setup cannot find the installation destination folder.";
const char setup_kNoQueue[] = "Setup cannot initialize the file queue.";
const char setup_kNoQueueCallback[] = "Setup cannot initialize file queue callback.";
const char setup_kNotCopied[] = "Setup could not copy the program's files to the destination folder.";
const char setup_kNoGroup[] = "Setup could not add a program group to the Start menu.";
const char setup_kCompleted[] = "Setup has completed successfully.";
const char setup_kNotRegistered[] = "Setup copied the program's files but could not record them in the registry.";
const char setup_kByPackage[] =
    "Tintwell was installed with its Windows Installer package; use the package to upgrade or remove it.";
const char setup_kTintwellRunning[] = "Tintwell is running. Please close it, then start Setup again.";
const char setup_kBusy[] = "Another Setup or uninstall of Tintwell is running. Please wait until it has finished.";
// %s: the installed version, %s: this Setup's.
const char setup_kNewerInstalled[] =
    "Tintwell %s is installed, which is newer than the version %s this Setup brings. Replace it with the older version?";
// %s: the Gallery folder.
const char setup_kKeptGallery[] = "The pictures of the earlier installation are still in %s.";
const char setup_kNotInstalled[] = "Tintwell is not installed on this computer.";
const char setup_kRemoveQuestion[] =
    "Do you want to remove Tintwell from this computer?\n\nThe pictures in its Gallery folder are kept.";
const char setup_kRemoved[] = "Tintwell has been removed from this computer.";
const char setup_kNotRemoved[] = "Setup could not remove all of Tintwell's files.";
// %s: the folder of the earlier install.
const char setup_kEarlierNotRemoved[] = "Setup could not remove the earlier installation in %s.";
// %s: the argument.
const char setup_kBadSwitch[] = "Setup cannot use \"%s\".";
// %s: the file.
const char setup_kNoLog[] = "Setup cannot write its log file \"%s\".";

void setup_ErrorWithContact(const char* sentence)
{
    setup_Log("%s", sentence);
    if (setup.quiet) return;
    char text[1024];
    snprintf(text, sizeof text, "%s%s", sentence, setup_kContactLines);
    tb_AttentionBox(text);
}
