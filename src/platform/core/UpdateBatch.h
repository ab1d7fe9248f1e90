#pragma once
// Runs Change inside Target's BeginUpdate/EndUpdate, ending the batch even when Change raises,
// so a failed change never leaves a list or collection silenced for good.
template <class TTarget, class TChange>
void UpdateBatch(TTarget& Target, TChange&& Change)
{
    Target.BeginUpdate();
    try {
        Change();
    } catch (...) {
        Target.EndUpdate();
        throw;
    }
    Target.EndUpdate();
}
