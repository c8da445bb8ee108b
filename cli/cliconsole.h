#pragma once

// A Windows console shows the bytes written to it in its own output code page (866 in a Russian
// locale), while kkt-cli writes UTF-8 everywhere. While a TConsoleUtf8 lives, a console on stdout
// or stderr reads UTF-8 too, and gets its own code page back when it ends; pipes and files get the
// same UTF-8 bytes either way. Elsewhere it does nothing.
class TConsoleUtf8
{
public:
    TConsoleUtf8();
    ~TConsoleUtf8();
    TConsoleUtf8(const TConsoleUtf8 &) = delete;
    TConsoleUtf8 &operator=(const TConsoleUtf8 &) = delete;

    // Whether the console's code page was switched (stdout or stderr is a console not in UTF-8).
    bool Switched() const { return previous_ != 0; }

private:
    unsigned previous_ = 0; // the console's own output code page; 0: left alone
};
