#pragma once
// A flag raised for the life of a scope and lowered on every way out: the
// guard of procedures that let events run (a second entry meanwhile is refused).
namespace mainwin {

class Drapeau {
 public:
  explicit Drapeau(bool& flag) : flag_(flag) { flag_ = true; }
  ~Drapeau() { flag_ = false; }
  Drapeau(const Drapeau&) = delete;
  Drapeau& operator=(const Drapeau&) = delete;

 private:
  bool& flag_;
};

}  // namespace mainwin
