// A new folder that only this user can enter (mode 0700), created under an unpredictable name in
// the temporary folder, and removed with everything in it when the object goes.
#pragma once

#include <string>

namespace verasco::head {

class PrivateFolder {
  public:
    // Throws std::runtime_error with the system's reason when no folder can be made.
    explicit PrivateFolder(const std::string& prefix);
    ~PrivateFolder();
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    const std::string& path() const { return path_; }
    // Creates a folder of the same mode inside this one and returns its path. Throws
    // std::runtime_error with the system's reason.
    std::string makeSubfolder(const std::string& name) const;
    // Removes the folder with everything in it now, following no symbolic link (a link that a
    // program left inside is removed itself, never what it points to); later calls do nothing.
    void remove();

  private:
    std::string path_;
};

// The temporary folder: $TMPDIR when it names a folder, else /tmp.
std::string TemporaryFolder();

} // namespace verasco::head
