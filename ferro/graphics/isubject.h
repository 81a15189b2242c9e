// Something observers can watch: a list of observers and a changed flag. The
// graphics layer's per-tick dirty scan notifies the observers of a changed
// subject and clears the flag.
#pragma once

#include <vector>

class ISubject;

class IObserver {
 public:
  virtual ~IObserver() = default;
  virtual void OnSubjectChanged(ISubject* subject) = 0;
};

class ISubject {
 public:
  virtual ~ISubject() = default;

  void AddObserver(IObserver* observer) { observers_.push_back(observer); }
  void SetChanged() { changed_ = true; }
  bool IsChanged() const { return changed_; }
  // Tells every observer and clears the flag (nothing happens if not changed).
  void NotifyIfChanged() {
    if (!changed_) return;
    changed_ = false;
    for (IObserver* o : observers_) o->OnSubjectChanged(this);
  }

 private:
  std::vector<IObserver*> observers_;
  bool changed_ = false;
};
