// Marks the classes and functions that libkorman exports to a host editor.
#pragma once

#define KORMAN_API __attribute__((visibility("default")))
