#pragma once
// The main of a benchmark program that opens windows: the application object, and OpenGL as the
// view asks for it.

#include "GLControl.h"

#include <QApplication>
#include <QSurfaceFormat>
#include <benchmark/benchmark.h>

inline int RunGuiBenchmarks(int argc, char** argv) {
    QSurfaceFormat::setDefaultFormat(TGLControl::PreferredFormat());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
