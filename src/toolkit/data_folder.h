// Where the program keeps what it writes (the user's data, the tips cache):
// beside itself only where this user can really write, else in the user's
// own folder. The platforms give the candidates and the means to try them.
#pragma once

#include <functional>
#include <string>

namespace tk {

struct FolderCandidates {
  std::string program;     // the program's folder, ending in a separator
  bool installed = false;  // an installed copy never keeps files beside itself
  std::string user;        // the user's folder for the program; empty: none
};

struct FolderAccess {
  // Makes a file in the folder and removes it again; true when both worked.
  std::function<bool(const std::string& folder)> probe;
  // Makes the folder and its missing parents; true when it is there.
  std::function<bool(const std::string& folder)> make;
};

struct FolderChoice {
  std::string folder;  // empty when no candidate can be written
  std::string notice;  // why nothing will be kept, when `folder` is empty
};

// The program's folder when it is no installed copy and a file can be made
// there; else the user's folder, made when missing, when a file can be made
// there; else none.
FolderChoice ChooseWritableFolder(const FolderCandidates& candidates, const FolderAccess& access);

}  // namespace tk
