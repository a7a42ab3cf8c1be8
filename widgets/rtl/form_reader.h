// Component streaming: reading a form description into a root component
// (a form) and, for tests, writing one back.
//
// Reading a root:
//  1. the text is parsed (errors name the line);
//  2. the root gets BeginReadState() and the description's name;
//  3. each `object Name: TClass` is created by its registered class's
//     factory, owned by the root; it gets csLoading|csReading, its Name and
//     (when HasParent()) the enclosing component as parent; its plain
//     properties are set in text order through their setters (dotted paths
//     reach sub-objects; string lists and collections are filled in place);
//     component references and events are only recorded; then its children
//     are read and csReading is cleared;
//  4. references are resolved by name, THEN events are bound to the root's
//     published methods, so no event fires while properties are set;
//  5. the root gets EndReadState(), then Loaded() runs on the root and on
//     each component in reading order.
// An unknown class, property, enumeration member, component or method is an
// error (EFormError) naming the line.
#pragma once

#include <string>

#include "widgets/rtl/components.h"
#include "widgets/rtl/form_parser.h"

// Reads the RCDATA resource named after the upper-cased class name of root
// ("TFORM1") from the program's module; raises EResNotFound without one.
void ReadFormResource(TComponent* Root);
// Reads a description given as text.
void ReadComponentFromText(TComponent* Root, const std::string& Text);
// Reads an already parsed description.
void ReadComponent(TComponent* Root, const TFormObject& Description);

// Writes Root and the components it owns as a description. A property is
// written when its stored predicate holds and its value differs from its
// default; a property without a default is always written. Binary data
// that classes define through DefineProperties is written as hex blocks.
std::string WriteComponentToText(TComponent* Root);
