// The start-up of the translation runtime: a program whose forms hold any
// of the runtime's components calls InitZxLangRuntime once, after the
// component library's RegisterClxClasses, before it reads a form.
#pragma once

// Runs the start-up of every unit of the runtime in unit order, so that the
// form reader knows each component class the runtime defines. Calling it
// again changes nothing.
void InitZxLangRuntime();
