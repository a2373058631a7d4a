#ifndef SCRIPTBINDING_H
#define SCRIPTBINDING_H

// Only for sources that include the interpreter anyway.
#pragma push_macro("slots")
#undef slots
#include <pybind11/pybind11.h>
#pragma pop_macro("slots")

#include <QString>

class QObject;

// How Qt objects appear to scripts. `vesk` and `veskAWG` offer exactly
// their listed calls; any other object (a form widget found by name, a
// window a script made) offers its properties and public slots by name.
// Every Python handle watches its object: a call after the object is gone,
// or from a thread other than the GUI thread, raises RuntimeError.
namespace ScriptBinding {

// None for no object.
pybind11::object wrap(QObject *object);

} // namespace ScriptBinding

// str <-> QString as UTF-8.
namespace pybind11 {
namespace detail {
template <>
struct type_caster<QString>
{
    PYBIND11_TYPE_CASTER(QString, const_name("str"));
    bool load(handle source, bool)
    {
        if (!source || !PyUnicode_Check(source.ptr()))
            return false;
        Py_ssize_t size = 0;
        const char *text = PyUnicode_AsUTF8AndSize(source.ptr(), &size);
        if (!text) {
            PyErr_Clear();
            return false;
        }
        value = QString::fromUtf8(text, int(size));
        return true;
    }
    static handle cast(const QString &text, return_value_policy, handle)
    {
        const QByteArray utf8 = text.toUtf8();
        return PyUnicode_FromStringAndSize(utf8.constData(), utf8.size());
    }
};
} // namespace detail
} // namespace pybind11

#endif // SCRIPTBINDING_H
