// The options file "Splash.dat" (INI) in the per-user folder, copied from the driver folder when the
// user has none. It holds one option: "bAutoCrop" in section "Tolvan"; 100 means the option is not
// offered.
#pragma once

namespace tolvan {

class CAppServices;

inline constexpr int kAutoCropNotOffered = 100;

class COptionsFile {
public:
    explicit COptionsFile(const CAppServices& app) : m_app(app) {}

    int ReadAutoCrop() const;
    void WriteAutoCrop(int value) const;

private:
    // The per-user path, with the driver's copy put there first when the user has none. Empty when the
    // path does not fit.
    bool Locate(char (&path)[260]) const;

    const CAppServices& m_app;
};

} // namespace tolvan
