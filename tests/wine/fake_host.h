// A stand-in for the host's running automation object, as the plug-in's
// window thread finds it: program id "Zelk2.Application", late bound through
// IDispatch with the dispatch ids the plug-in calls (16 SendMacro, 2 the radio
// frequency, 8 GetEntryField).
//
// The object lives in the multithreaded apartment of a thread of its own and
// is put in the running object table from there. The plug-in's window thread,
// a single-threaded apartment, then reaches it through a proxy whose calls
// are served on other threads: the object answers even while the test's own
// thread is busy in an export or in FreeLibrary.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace wine_tests {

// Writes and removes the program id's class id under HKEY_CLASSES_ROOT, where
// the class lookup (CLSIDFromProgID) looks for it.
bool RegisterHostProgId();
void UnregisterHostProgId();

class FakeHost {
public:
    // Starts the object's thread and registers the running object; Error()
    // says what failed.
    FakeHost();
    // Revokes the object and ends its thread.
    ~FakeHost();
    FakeHost(const FakeHost&) = delete;
    FakeHost& operator=(const FakeHost&) = delete;

    const std::string& Error() const { return error_; }

    // What the host answers from now on.
    void SetFrequency(double hertz);
    void SetEntryField(const std::wstring& call);
    // Every call fails from now on, as when the host has gone.
    void SetFailing(bool failing);
    // Calls wait unanswered until AnswerAgain, as while the host's own thread
    // is busy unloading the library; CallsWaiting counts the waiting ones.
    void HoldAnswers();
    void AnswerAgain();
    int CallsWaiting() const;

    // What the plug-in asked of it so far.
    std::vector<std::string> Macros() const;
    int FrequencyReads() const;
    // The arguments of the entry-field reads, in order.
    std::vector<int> EntryFieldArguments() const;
    // Calls with dispatch ids, flags or arguments the host does not have.
    std::vector<std::string> UnexpectedCalls() const;

    struct State;

private:
    static DWORD WINAPI ThreadProc(LPVOID self);

    std::shared_ptr<State> state_;
    HANDLE thread_ = nullptr;
    HANDLE ready_ = nullptr;
    HANDLE stop_ = nullptr;
    std::string error_;
};

}  // namespace wine_tests
