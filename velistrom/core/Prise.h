#pragma once
// Where a window's folder finds the main window: the side a test plugs in, else
// the one the main window plugged in for itself, else `Aucun`, which does nothing.

namespace core {

template <class Cote, class Aucun>
class Prise {
 public:
  Cote& courant() {
    static Aucun aucun;
    if (test_) return *test_;
    return reel_ ? *reel_ : aucun;
  }
  void brancher(Cote* cote) { test_ = cote; }
  void brancherReel(Cote* cote) { reel_ = cote; }

 private:
  Cote* test_ = nullptr;
  Cote* reel_ = nullptr;
};

}  // namespace core
