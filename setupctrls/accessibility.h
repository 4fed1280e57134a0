#pragma once

// Gives the component set's drawn controls accessible names and descriptions that follow
// their state: a circle's title and kind, a jumper's label and where its cap is. Safe to
// call more than once.
void InstallAccessibility();
