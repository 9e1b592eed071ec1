#pragma once
// Every window of the program, made once in a fixed order and kept until the end.

void CreateForms();
void DestroyForms();
