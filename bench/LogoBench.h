// The logo figures: conversion speed of each dot rule, and an ADD in the window.
#pragma once

#include <string>

namespace printset {

// Prints the logo figures, each against a reference measured in the same run; `folder`
// is a scratch folder for the pictures and the window's files. Needs a QApplication.
void RunLogoBench(const std::string& folder);

}  // namespace printset
