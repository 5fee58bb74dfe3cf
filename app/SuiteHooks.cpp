#include "SuiteHooks.h"

namespace app {

void StoreOwnHandleStep(TForm1 *) {}
void StartToolStep() {}
void NotifyShellStep(int) {}
void AssignButtonImagesStep(TForm1 *) {}
void SetUpToolWindowStep(TForm1 *) {}
void HookActivationStep(TForm1 *) {}
void ActivateMainFormStep(TForm1 *) {}
void HandleAHelpFileChoiceStep(int) {}
void ControllerMessageStep(TForm1 *, uint32_t, uint32_t) {}
void LogToolClosingStep() {}

} // namespace app
