/// \file
/// The application's progress reporter. One instance is installed for the process;
/// an operation that runs long names its action, receives a key for it and advances
/// that key as it goes. Hosts derive from it to drive their own progress display.
#ifndef TEV_PROCESS_EVOLUTION_MANAGER_H
#define TEV_PROCESS_EVOLUTION_MANAGER_H

#include "TevArray.h"
#include "TevExport.h"
#include "TevString.h"

/// The application's progress reporter; hosts derive from it (see
/// TevProcessEvolutionManager.h).
class LUMROOTS_EXPORT TevProcessEvolutionManager {
public:
    /// A manager with no actions named yet; not installed.
    TevProcessEvolutionManager() = default;
    TevProcessEvolutionManager(const TevProcessEvolutionManager&) = delete;
    TevProcessEvolutionManager& operator=(const TevProcessEvolutionManager&) = delete;
    /// A manager that is destroyed while installed uninstalls itself.
    virtual ~TevProcessEvolutionManager();

    /// The installed manager; null until one is installed.
    static TevProcessEvolutionManager* getProcessEvolutionManager();
    /// Installs `manager`, not owned; valid while installed. Null removes it.
    static void setProcessEvolutionManager(TevProcessEvolutionManager* manager);

    /// Default: the key of the action named `action`; keys count from 1 in the order in
    /// which actions are first named, and the same name always answers the same key.
    virtual int getKeyForAction(const TevString& action);

    /// `amount` is the level the action has reached, out of 10: the derived-documents
    /// check passes 10 * documents visited / documents after each document. Default:
    /// keeps the highest level passed for `key`; a key that getKeyForAction did not hand
    /// out is ignored.
    virtual void increaseProgress(int key, int amount);

    /// The level the default increaseProgress kept for `key`; 0 for a key that was not
    /// handed out or has not advanced.
    int getProgress(int key) const;

    /// The action name behind `key`; empty for a key that was not handed out.
    TevString getActionName(int key) const;

private:
    TevArray<TevString> m_actions; // Index key - 1.
    TevArray<int> m_progress;      // Index key - 1.
};

#endif // TEV_PROCESS_EVOLUTION_MANAGER_H
