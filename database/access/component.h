#pragma once
// The small component model the access layer needs: a `Name`, an owner that knows the
// components registered with it (a form or data module, or a session for its database
// objects), and a loading phase during which some properties are only remembered and applied
// when loading completes. The owner does not free its components: whoever created a
// component holds it (usually in a std::unique_ptr beside the owner) and it unregisters itself
// when destroyed.

#include <string>
#include <vector>

namespace database::access {

// Invariant: every component in Components() lists this object as its Owner().
class TComponent {
 public:
  // `owner` (may be null) must outlive this component or destroy it first.
  explicit TComponent(TComponent* owner);
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  const std::string& Name() const { return name_; }
  virtual void SetName(const std::string& name) { name_ = name; }
  TComponent* Owner() const { return owner_; }
  const std::vector<TComponent*>& Components() const { return components_; }

  // The loading phase of a form: BeginLoading, property assignments, then Loaded, which
  // applies what was deferred and re-raises its errors.
  void BeginLoading() { loading_ = true; }
  void Loaded();
  bool Loading() const { return loading_; }
  bool Destroying() const { return destroying_; }

 protected:
  virtual void DoLoaded() {}
  // Called first by a derived destructor so that re-entrant calls can tell.
  void MarkDestroying() { destroying_ = true; }

 private:
  std::string name_;
  TComponent* owner_;                    // not owned
  std::vector<TComponent*> components_;  // not owned; registration order
  bool loading_ = false;
  bool destroying_ = false;
};

}  // namespace database::access
