#pragma once
// The two flag pictures of the language choice, drawn rather than shipped so they
// stay small and identical from build to build.
#include <QImage>
#include <QSize>

// The French tricolour (blue, white, red bands side by side).
QImage DrapeauFrancais(QSize size);
// The Union flag of the United Kingdom.
QImage DrapeauAnglais(QSize size);
