// The installer's one fixed sequence and its four stages.
#pragma once

namespace installer {

// Banner, update check, locating the game, installation, restart, closing.
void RunInstaller();

// The stages, each in a file of its own.
void CheckForUpdate();
bool LocateGame();    // true when a game process was found
bool InstallPatch();  // true when the player consented and the file steps ran
void RestartAndShowPictures();

}  // namespace installer
