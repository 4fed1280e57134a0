#pragma once

#include <QFlags>
#include <QWidget>

// Which edges of its parent a control keeps its distance to when the parent resizes.
enum TAnchorKind { akLeft = 0x1, akTop = 0x2, akRight = 0x4, akBottom = 0x8 };
Q_DECLARE_FLAGS(TAnchors, TAnchorKind)
Q_DECLARE_OPERATORS_FOR_FLAGS(TAnchors)

// Gives a child its anchors, taking its present distances to the parent's edges (and,
// with neither a left nor a right anchor, its relative horizontal centre; likewise
// vertically) as the ones to keep from now on. The parent does the rest on every resize.
void SetAnchors(QWidget* control, TAnchors anchors);
TAnchors Anchors(const QWidget* control);

// The parent's client size as the anchoring sees it (its own size).
inline QSize ClientSize(const QWidget* parent) { return parent->size(); }
