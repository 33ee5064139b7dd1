// Ids of the program-wide resources: the icons. Shared by the resource
// scripts and the code, so plain macros only.
#pragma once

#define IDI_VELMORIN 100
#define IDI_TRAY 101
