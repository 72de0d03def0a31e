// Mail, POP3 and SMTP objects without a server conversation: header fields as members, the
// published properties, clear, constructors and the methods that need an argument. Binary
// operators evaluate their right operand first: calls with effects stand alone.
var m = new Mail;
println(m.number + " " + m.length + " [" + m.header + "] [" + m.body + "] [" + m.message + "]");
m.Subject = "hello";
m["X-Count"] = 42;
m.message = "text";
println(m.Subject + " " + m.subject + " " + m["x-count"] + " " + (typeof m["X-Count"]) + " " + m.message);
println(m.hasKey("Subject") + " " + m.hasKey("Missing"));
var names = "";
for (var n in m) names += n + ";";
println(names + " " + m.getKeys());
try { println(m.Missing); } catch (e) { println("dotted: " + e); }
try { println(m["Missing"]); } catch (e) { println("bracket: " + e); }
println(m.removeKey("x-count"));
println(m.hasKey("X-Count"));
println(m.attachments.count + " " + m.attachments);
m.attachments.add("a.bin");
println(m.attachments.count + " " + m.attachments[0]);
println(m.clear() == m);
println(m.hasKey("Subject") + " [" + m.message + "] " + m.attachments.count);
try { println(m.Subject); } catch (e) { println("after clear: " + e); }

var pop = new POP3;
println(pop.host + " " + pop.port + " " + pop.userid + " " + pop.deleteOnRead + " " + pop.mailCount + " " +
        pop.length + " " + pop.timeout + " " + (pop.mail != null));
pop.port = 70000;
pop.userid = "u";
pop.password = "p";
pop.attachPath = "/tmp/in";
pop.deleteOnRead = true;
println(pop.port + " " + pop.userid + " " + pop.password + " " + pop.attachPath + " " + pop.deleteOnRead);
println(isUndefined(pop.getMail()));
println(isUndefined(pop.getSummary()));
println(pop.delete() == pop);
println(pop.getEvents());
var p2 = new POP3("mail.example.com", 995);
println(p2.host + " " + p2.port);

var smtp = new SMTP("h", 587);
println(smtp.host + " " + smtp.port + " " + (smtp.mail != pop.mail) + " " + smtp.getEvents());
println(new SMTP().port);
