#pragma once
// The two flag pictures of the language choice. The build draws the shipped
// pictures with these, and the start-up form draws its own when one is missing.
#include <QImage>
#include <QSize>

// The French tricolour (blue, white, red bands side by side).
QImage DrapeauFrancais(QSize size);
// The Union flag of the United Kingdom.
QImage DrapeauAnglais(QSize size);
